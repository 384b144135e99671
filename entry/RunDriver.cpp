#include "entry/RunDriver.h"

#include <cstdint>
#include <string>

#include "entry/MorvApp.h"
#include "entry/PlatformFacts.h"
#include "entry/ResultCodes.h"
#include "entry/RunSteps.h"
#include "platform/ComEntry.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/VersionInfo.h"

namespace {

constexpr int kFirstEditionCode = 3000;
constexpr unsigned kEditionCodeSpan = 28;

// An empty value, or one that reads "0" (so "00" is kept).
bool NeedsFallback(const std::string& value) { return value.empty() || value == "0"; }

void FillMissingSummary(RunContext& run, InventorySummary& summary) {
  IRunSteps& steps = run.steps;
  PlatformFacts facts;
  steps.GetOsEditionCode(facts);

  if (summary.osCaption.empty()) {
    const auto offset = static_cast<std::uint32_t>(facts.OsEditionCode - kFirstEditionCode);
    summary.osCaption = offset > kEditionCodeSpan ? std::string("Unknown Windows")
                                                  : steps.GetOsEditionName(facts.OsEditionCode);
  }
  if (summary.cpuName.empty()) summary.cpuName = steps.GetProcessorDescription();
  if (NeedsFallback(summary.memoryTotal))
    summary.memoryTotal = std::to_string(steps.GetTotalPhysicalMemory());
  if (NeedsFallback(summary.diskTotal))
    summary.diskTotal = std::to_string(steps.GetFixedDiskTotalBytes());
  if (NeedsFallback(summary.diskFree))
    summary.diskFree = std::to_string(steps.GetFixedDiskFreeBytes());
  if (summary.videoNames.empty()) {
    steps.FindDisplayAdapterNames(facts, summary.videoNames);
    run.debug.Write("Video count : " + std::to_string(summary.videoNames.size()));
  }
  if (summary.monitorNames.empty()) {
    steps.FindMonitorNames(summary.monitorNames, facts);
    run.debug.Write("Monitor count : " + std::to_string(summary.monitorNames.size()));
  }
  if (summary.cdromNames.empty()) steps.FindCdromNames(facts, summary.cdromNames);
}

}  // namespace

int FileExists(IFileSystem& files, const std::string& path) { return files.FindAny(path) ? 1 : 0; }

int WriteAssetDocument(RunContext& run, const std::string& documentPath) {
  // Nested inside the WMI session's entry.
  const ComEntry com(run.version, run.com);
  int result;
  if (FileExists(run.files, documentPath) == 0) {
    result = run.steps.BuildAssetDocument(run.app, documentPath);
    run.app.m_nStatus = 1;
  } else {
    result = run.steps.CompareWithPrevious(run.app, documentPath);
  }
  return result;
}

int RunInventory(RunContext& run, const std::string& deviceId, const std::string& documentPath) {
  CMorvApp& app = run.app;
  app.m_strDeviceId = deviceId;
  app.BeginRun();

  const std::unique_ptr<IWmiSession> wmi = run.steps.CreateWmiSession(app);
  const int init = wmi->Initialize();
  if (init != 1 && init != -23) {
    run.debug.Write("HW Inv DLL wmi.Init result : " + std::to_string(init));
    return result::kWmiInit;
  }

  const int collected = wmi->Collect();
  if (collected != 0 && IsNtFamily(run.version.GetVersion())) return collected;

  if (app.m_pSummary) FillMissingSummary(run, *app.m_pSummary);
  run.steps.ReadPowerPolicy(app);
  const int result = WriteAssetDocument(run, documentPath);
  app.ClearStore();
  return result;
}

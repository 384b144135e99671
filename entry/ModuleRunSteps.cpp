#include "entry/ModuleRunSteps.h"

#include "cpu/ProcessorDescription.h"
#include "document/AssetDocumentBuilder.h"
#include "entry/MorvApp.h"
#include "entry/ResultCodes.h"
#include "platform/OsEdition.h"
#include "platform/SystemFacts.h"
#include "registry/DeviceWalks.h"
#include "tracking/ChangeComparison.h"
#include "tracking/DocumentReplacement.h"
#include "wmi/Wmi.h"

// Each step delegates to its subsystem.

namespace {

// Without a COM runtime there is no WMI: the session cannot enter COM.
class NoComWmiSession final : public IWmiSession {
 public:
  int Initialize() override { return -1; }
  int Collect() override { return -21; }
};

}  // namespace

std::unique_ptr<IWmiSession> ModuleRunSteps::CreateWmiSession(CMorvApp& app) {
  const Platform& p = platform_;
  if (!p.version || !p.com) return std::make_unique<NoComWmiSession>();
  return std::make_unique<CWmi>(app, *p.version, *p.com, p.wmi);
}

void ModuleRunSteps::GetOsEditionCode(PlatformFacts& facts) {
  const Platform& p = platform_;
  if (p.version && p.metrics && p.registry)
    ::GetOsEditionCode(*p.version, *p.metrics, *p.registry, facts.OsEditionCode);
}

std::string ModuleRunSteps::GetOsEditionName(int code) {
  std::string name;
  ::GetOsEditionName(code, name);
  return name;
}

std::string ModuleRunSteps::GetProcessorDescription() {
  return ::GetProcessorDescription(platform_);
}

std::uint64_t ModuleRunSteps::GetTotalPhysicalMemory() {
  const Platform& p = platform_;
  return p.version && p.memory ? ::GetTotalPhysicalMemory(*p.version, *p.memory) : 0;
}

std::uint64_t ModuleRunSteps::GetFixedDiskTotalBytes() {
  return platform_.drives ? ::GetFixedDiskTotalBytes(*platform_.drives) : 0;
}

std::uint64_t ModuleRunSteps::GetFixedDiskFreeBytes() {
  return platform_.drives ? ::GetFixedDiskFreeBytes(*platform_.drives) : 0;
}

void ModuleRunSteps::FindDisplayAdapterNames(PlatformFacts& facts,
                                             std::vector<std::string>& names) {
  if (platform_.registry) ::FindDisplayAdapterNames(*platform_.registry, facts, names);
}

void ModuleRunSteps::FindMonitorNames(std::vector<std::string>& names, PlatformFacts& facts) {
  if (platform_.registry) ::FindMonitorNames(*platform_.registry, names, facts);
}

void ModuleRunSteps::FindCdromNames(PlatformFacts& facts, std::vector<std::string>& names) {
  if (platform_.registry && platform_.drives)
    ::FindCdromNames(*platform_.registry, *platform_.drives, facts, names);
}

void ModuleRunSteps::ReadPowerPolicy(CMorvApp& app) {
  if (platform_.power && platform_.debug)
    ::ReadPowerPolicy(app.m_pPower.get(), *platform_.power, *platform_.debug);
}

int ModuleRunSteps::BuildAssetDocument(CMorvApp& app, const std::string& documentPath) {
  if (!platform_.clock || !platform_.files || !platform_.version) {
    app.m_strTimestamp.clear();
    return result::kNoDocument;
  }
  return BuildFreshDocument(
      app, documentPath,
      DocumentServices{platform_.dom, *platform_.clock, *platform_.files, *platform_.version});
}

int ModuleRunSteps::CompareWithPrevious(CMorvApp& app, const std::string& documentPath) {
  if (!platform_.clock || !platform_.files || !platform_.version) {
    return result::kNoDocument;
  }
  return ::CompareWithPrevious(
      app, documentPath,
      DocumentServices{platform_.dom, *platform_.clock, *platform_.files, *platform_.version});
}

#include "doubles/FakeRunSteps.h"

namespace {

class FakeWmiSession final : public IWmiSession {
 public:
  FakeWmiSession(FakeRunSteps& steps, CMorvApp& app) : steps_(steps), app_(app) {}
  ~FakeWmiSession() override { steps_.Record("~Wmi"); }
  int Initialize() override {
    steps_.Record("Initialize");
    return steps_.initializeResult;
  }
  int Collect() override {
    steps_.Record("Collect");
    app_.m_listOs.AppendNew().ordinal = 1;
    if (app_.m_pSummary) *app_.m_pSummary = steps_.collected;
    return steps_.collectResult;
  }

 private:
  FakeRunSteps& steps_;
  CMorvApp& app_;
};

}  // namespace

void FakeRunSteps::Record(const std::string& call) {
  calls.push_back(call);
  if (onCall) onCall(call);
}

std::unique_ptr<IWmiSession> FakeRunSteps::CreateWmiSession(CMorvApp& app) {
  return std::make_unique<FakeWmiSession>(*this, app);
}

void FakeRunSteps::GetOsEditionCode(PlatformFacts& facts) {
  Record("GetOsEditionCode");
  facts.OsEditionCode = editionCode;
}

std::string FakeRunSteps::GetOsEditionName(int code) {
  Record("GetOsEditionName(" + std::to_string(code) + ")");
  return editionName + " " + std::to_string(code);
}

std::string FakeRunSteps::GetProcessorDescription() {
  Record("GetProcessorDescription");
  return processorDescription;
}

std::uint64_t FakeRunSteps::GetTotalPhysicalMemory() {
  Record("GetTotalPhysicalMemory");
  return memory;
}

std::uint64_t FakeRunSteps::GetFixedDiskTotalBytes() {
  Record("GetFixedDiskTotalBytes");
  return diskTotal;
}

std::uint64_t FakeRunSteps::GetFixedDiskFreeBytes() {
  Record("GetFixedDiskFreeBytes");
  return diskFree;
}

void FakeRunSteps::FindDisplayAdapterNames(PlatformFacts& facts, std::vector<std::string>& names) {
  Record("FindDisplayAdapterNames");
  factsSeen.push_back(facts);
  names.insert(names.end(), videoFound.begin(), videoFound.end());
}

void FakeRunSteps::FindMonitorNames(std::vector<std::string>& names, PlatformFacts& facts) {
  Record("FindMonitorNames");
  factsSeen.push_back(facts);
  names.insert(names.end(), monitorsFound.begin(), monitorsFound.end());
}

void FakeRunSteps::FindCdromNames(PlatformFacts& facts, std::vector<std::string>& names) {
  Record("FindCdromNames");
  factsSeen.push_back(facts);
  names.insert(names.end(), cdromsFound.begin(), cdromsFound.end());
}

void FakeRunSteps::ReadPowerPolicy(CMorvApp& app) {
  Record(app.m_pPower ? "ReadPowerPolicy" : "ReadPowerPolicy(no record)");
}

int FakeRunSteps::BuildAssetDocument(CMorvApp& app, const std::string& documentPath) {
  Record("BuildAssetDocument(" + documentPath + ")");
  app.m_strTimestamp = timestamp;
  return buildResult;
}

int FakeRunSteps::CompareWithPrevious(CMorvApp& app, const std::string& documentPath) {
  Record("CompareWithPrevious(" + documentPath + ")");
  app.m_strTimestamp = timestamp;
  app.m_nStatus = compareStatus;
  return compareResult;
}

#include "doubles/FakeRunSteps.h"

namespace {

class FakeWmiSession final : public IWmiSession {
 public:
  FakeWmiSession(FakeRunSteps& steps, CMorvApp& app) : steps_(steps), app_(app) {}
  ~FakeWmiSession() override { steps_.calls.push_back("~Wmi"); }
  int Initialize() override {
    steps_.calls.push_back("Initialize");
    return steps_.initializeResult;
  }
  int Collect() override {
    steps_.calls.push_back("Collect");
    app_.m_listOs.AppendNew().ordinal = 1;
    if (app_.m_pSummary) *app_.m_pSummary = steps_.collected;
    return steps_.collectResult;
  }

 private:
  FakeRunSteps& steps_;
  CMorvApp& app_;
};

}  // namespace

std::unique_ptr<IWmiSession> FakeRunSteps::CreateWmiSession(CMorvApp& app) {
  return std::make_unique<FakeWmiSession>(*this, app);
}

void FakeRunSteps::GetOsEditionCode(PlatformFacts& facts) {
  calls.push_back("GetOsEditionCode");
  facts.OsEditionCode = editionCode;
}

std::string FakeRunSteps::GetOsEditionName(int code) {
  calls.push_back("GetOsEditionName(" + std::to_string(code) + ")");
  return editionName + " " + std::to_string(code);
}

std::string FakeRunSteps::GetProcessorDescription() {
  calls.push_back("GetProcessorDescription");
  return processorDescription;
}

std::uint64_t FakeRunSteps::GetTotalPhysicalMemory() {
  calls.push_back("GetTotalPhysicalMemory");
  return memory;
}

std::uint64_t FakeRunSteps::GetFixedDiskTotalBytes() {
  calls.push_back("GetFixedDiskTotalBytes");
  return diskTotal;
}

std::uint64_t FakeRunSteps::GetFixedDiskFreeBytes() {
  calls.push_back("GetFixedDiskFreeBytes");
  return diskFree;
}

void FakeRunSteps::FindDisplayAdapterNames(PlatformFacts& facts, std::vector<std::string>& names) {
  calls.push_back("FindDisplayAdapterNames");
  factsSeen.push_back(facts);
  names.insert(names.end(), videoFound.begin(), videoFound.end());
}

void FakeRunSteps::FindMonitorNames(std::vector<std::string>& names, PlatformFacts& facts) {
  calls.push_back("FindMonitorNames");
  factsSeen.push_back(facts);
  names.insert(names.end(), monitorsFound.begin(), monitorsFound.end());
}

void FakeRunSteps::FindCdromNames(PlatformFacts& facts, std::vector<std::string>& names) {
  calls.push_back("FindCdromNames");
  factsSeen.push_back(facts);
  names.insert(names.end(), cdromsFound.begin(), cdromsFound.end());
}

void FakeRunSteps::ReadPowerPolicy(CMorvApp& app) {
  calls.push_back(app.m_pPower ? "ReadPowerPolicy" : "ReadPowerPolicy(no record)");
}

int FakeRunSteps::BuildAssetDocument(CMorvApp& app, const std::string& documentPath) {
  calls.push_back("BuildAssetDocument(" + documentPath + ")");
  app.m_strTimestamp = timestamp;
  return buildResult;
}

int FakeRunSteps::CompareWithPrevious(CMorvApp& app, const std::string& documentPath) {
  calls.push_back("CompareWithPrevious(" + documentPath + ")");
  app.m_strTimestamp = timestamp;
  app.m_nStatus = compareStatus;
  return compareResult;
}

#pragma once
// A double of the run's steps that records what the driver asks for.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "entry/MorvApp.h"
#include "entry/RunSteps.h"

class FakeRunSteps : public IRunSteps {
 public:
  // What each step answers.
  int initializeResult = 1;
  int collectResult = 0;
  int editionCode = 0;
  std::string editionName = "Edition";
  std::string processorDescription = "Cpu";
  std::uint64_t memory = 1, diskTotal = 2, diskFree = 3;
  std::vector<std::string> videoFound, monitorsFound, cdromsFound;
  int buildResult = 0, compareResult = 0, compareStatus = 0;
  std::string timestamp = "20261206090507";
  // Summary values the collection writes, as WMI would.
  InventorySummary collected;

  // Every call in order, with its salient argument.
  std::vector<std::string> calls;
  // Called with each call as it is recorded, before the step does its work.
  std::function<void(const std::string&)> onCall;
  void Record(const std::string& call);
  // The facts each walk was given.
  std::vector<PlatformFacts> factsSeen;

  std::unique_ptr<IWmiSession> CreateWmiSession(CMorvApp& app) override;
  void GetOsEditionCode(PlatformFacts& facts) override;
  std::string GetOsEditionName(int code) override;
  std::string GetProcessorDescription() override;
  std::uint64_t GetTotalPhysicalMemory() override;
  std::uint64_t GetFixedDiskTotalBytes() override;
  std::uint64_t GetFixedDiskFreeBytes() override;
  void FindDisplayAdapterNames(PlatformFacts& facts, std::vector<std::string>& names) override;
  void FindMonitorNames(std::vector<std::string>& names, PlatformFacts& facts) override;
  void FindCdromNames(PlatformFacts& facts, std::vector<std::string>& names) override;
  void ReadPowerPolicy(CMorvApp& app) override;
  int BuildAssetDocument(CMorvApp& app, const std::string& documentPath) override;
  int CompareWithPrevious(CMorvApp& app, const std::string& documentPath) override;
};

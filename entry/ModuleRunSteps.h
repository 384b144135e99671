#pragma once
#include "entry/RunSteps.h"
#include "platform/Platform.h"

// The run's steps, carried out by the module's subsystems over the given
// platform services.
class ModuleRunSteps final : public IRunSteps {
 public:
  explicit ModuleRunSteps(const Platform& platform) : platform_(platform) {}

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

 private:
  Platform platform_;
};

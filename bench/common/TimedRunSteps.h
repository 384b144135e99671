#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "entry/RunSteps.h"

// Where a run's time goes, by step.
struct RunSplit {
  double collection = 0;  // entering COM, connecting, the class queries, leaving COM
  double fallbacks = 0;   // edition, processor, memory, disk and device walks
  double power = 0;
  double building = 0;
  double comparing = 0;
  double Sum() const { return collection + fallbacks + power + building + comparing; }
};

// Passes every step on to `inner`, adding the time each takes (in seconds)
// to `split`.
class TimedRunSteps final : public IRunSteps {
 public:
  TimedRunSteps(IRunSteps& inner, RunSplit& split) : inner_(inner), split_(split) {}

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
  IRunSteps& inner_;
  RunSplit& split_;
};

// Adds the seconds between its making and its end to `total`.
class StopWatch {
 public:
  explicit StopWatch(double& total) : total_(total), start_(std::chrono::steady_clock::now()) {}
  ~StopWatch() {
    total_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }
  StopWatch(const StopWatch&) = delete;
  StopWatch& operator=(const StopWatch&) = delete;

 private:
  double& total_;
  std::chrono::steady_clock::time_point start_;
};

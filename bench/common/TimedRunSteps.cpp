#include "bench/common/TimedRunSteps.h"

namespace {

// The session's own time, its end (leaving COM) included.
class TimedSession final : public IWmiSession {
 public:
  TimedSession(std::unique_ptr<IWmiSession> inner, double& total)
      : total_(total), inner_(std::move(inner)) {}
  ~TimedSession() override {
    StopWatch watch(total_);
    inner_.reset();
  }
  TimedSession(const TimedSession&) = delete;
  TimedSession& operator=(const TimedSession&) = delete;

  int Initialize() override {
    StopWatch watch(total_);
    return inner_->Initialize();
  }
  int Collect() override {
    StopWatch watch(total_);
    return inner_->Collect();
  }

 private:
  double& total_;
  std::unique_ptr<IWmiSession> inner_;
};

}  // namespace

std::unique_ptr<IWmiSession> TimedRunSteps::CreateWmiSession(CMorvApp& app) {
  StopWatch watch(split_.collection);
  return std::make_unique<TimedSession>(inner_.CreateWmiSession(app), split_.collection);
}

void TimedRunSteps::GetOsEditionCode(PlatformFacts& facts) {
  StopWatch watch(split_.fallbacks);
  inner_.GetOsEditionCode(facts);
}

std::string TimedRunSteps::GetOsEditionName(int code) {
  StopWatch watch(split_.fallbacks);
  return inner_.GetOsEditionName(code);
}

std::string TimedRunSteps::GetProcessorDescription() {
  StopWatch watch(split_.fallbacks);
  return inner_.GetProcessorDescription();
}

std::uint64_t TimedRunSteps::GetTotalPhysicalMemory() {
  StopWatch watch(split_.fallbacks);
  return inner_.GetTotalPhysicalMemory();
}

std::uint64_t TimedRunSteps::GetFixedDiskTotalBytes() {
  StopWatch watch(split_.fallbacks);
  return inner_.GetFixedDiskTotalBytes();
}

std::uint64_t TimedRunSteps::GetFixedDiskFreeBytes() {
  StopWatch watch(split_.fallbacks);
  return inner_.GetFixedDiskFreeBytes();
}

void TimedRunSteps::FindDisplayAdapterNames(PlatformFacts& facts, std::vector<std::string>& names) {
  StopWatch watch(split_.fallbacks);
  inner_.FindDisplayAdapterNames(facts, names);
}

void TimedRunSteps::FindMonitorNames(std::vector<std::string>& names, PlatformFacts& facts) {
  StopWatch watch(split_.fallbacks);
  inner_.FindMonitorNames(names, facts);
}

void TimedRunSteps::FindCdromNames(PlatformFacts& facts, std::vector<std::string>& names) {
  StopWatch watch(split_.fallbacks);
  inner_.FindCdromNames(facts, names);
}

void TimedRunSteps::ReadPowerPolicy(CMorvApp& app) {
  StopWatch watch(split_.power);
  inner_.ReadPowerPolicy(app);
}

int TimedRunSteps::BuildAssetDocument(CMorvApp& app, const std::string& documentPath) {
  StopWatch watch(split_.building);
  return inner_.BuildAssetDocument(app, documentPath);
}

int TimedRunSteps::CompareWithPrevious(CMorvApp& app, const std::string& documentPath) {
  StopWatch watch(split_.comparing);
  return inner_.CompareWithPrevious(app, documentPath);
}

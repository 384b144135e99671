#pragma once
// Doubles of the millisecond timer and the profile reader.
#include <chrono>
#include <cstdint>
#include <vector>

#include "cpu/Timer.h"
#include "platform/ProfileReader.h"

// Advances by `step` milliseconds on every reading, and keeps count of the
// resolution periods begun and ended.
class SteppingTimer final : public ITimer {
 public:
  std::uint32_t now = 5000;
  std::uint32_t step = 1;
  int reads = 0;
  std::vector<std::uint32_t> periods;  // begun and not yet ended, in ms
  int coarseReads = 0;                 // reads made while no 1-ms period was on
  int unmatchedEnds = 0;
  std::uint32_t Milliseconds() override {
    ++reads;
    if (periods.empty() || periods.back() != 1) ++coarseReads;
    const std::uint32_t reading = now;
    now += step;
    return reading;
  }
  bool BeginPeriod(std::uint32_t ms) override {
    periods.push_back(ms);
    return true;
  }
  void EndPeriod(std::uint32_t ms) override {
    if (periods.empty() || periods.back() != ms) {
      ++unmatchedEnds;
      return;
    }
    periods.pop_back();
  }
};

// The real elapsed time of the host.
class SteadyTimer final : public ITimer {
 public:
  std::uint32_t Milliseconds() override {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

// Text files of the host, by Windows path (mapped as HostFileSystem maps
// them), with a private-profile reader following GetPrivateProfileIntA:
// sections and keys ignore letter case, the value's leading decimal digits
// count, a missing section or key gives the default.
class HostProfileReader final : public IProfileReader {
 public:
  int opens = 0;
  std::optional<std::vector<std::string>> ReadLines(const std::string& path) override;
  unsigned ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& path) override;
};

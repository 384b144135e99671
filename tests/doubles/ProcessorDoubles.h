#pragma once
// Doubles of the millisecond timer and the profile reader.
#include <chrono>
#include <cstdint>

#include "cpu/Timer.h"
#include "platform/ProfileReader.h"

// Advances by one millisecond on every reading, and counts the readings
// made while no 1-ms resolution period was on.
class SteppingTimer final : public ITimer {
 public:
  std::uint32_t now = 5000;
  int finePeriods = 0;  // 1-ms periods begun and not yet ended
  int coarseReads = 0;
  std::uint32_t Milliseconds() override {
    coarseReads += finePeriods == 0;
    return now++;
  }
  bool BeginPeriod(std::uint32_t ms) override { return finePeriods += ms == 1, true; }
  void EndPeriod(std::uint32_t ms) override { finePeriods -= ms == 1; }
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
  std::optional<std::vector<std::string>> ReadLines(const std::string& path) override;
  unsigned ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& path) override;
};

#include "cpu/CpuSpeed.h"

#include "cpu/CpuVendor.h"
#include "cpu/Processor.h"
#include "cpu/SpeedTable.h"
#include "cpu/Timer.h"

namespace {

// The timer's resolution at 1 ms for as long as it lives: at NT's default
// tick of 10 to 15.6 ms the measured second can run about 1.6% long.
class FineTimerResolution {
 public:
  explicit FineTimerResolution(ITimer& timer) : timer_(timer), raised_(timer.BeginPeriod(kMs)) {}
  ~FineTimerResolution() {
    if (raised_) timer_.EndPeriod(kMs);
  }
  FineTimerResolution(const FineTimerResolution&) = delete;
  FineTimerResolution& operator=(const FineTimerResolution&) = delete;

 private:
  static constexpr std::uint32_t kMs = 1;
  ITimer& timer_;
  bool raised_;
};

}  // namespace

bool HasTimeStampCounter(IProcessor& cpu) {
  if (!IsCpuidSupported(cpu)) return false;
  if (cpu.Cpuid(0).eax < 1) return false;
  return (cpu.Cpuid(1).edx & 0x10u) != 0;
}

std::uint32_t MeasureCpuSpeed(const Platform& platform) {
  if (!platform.processor || !platform.timer) return 0;
  IProcessor& cpu = *platform.processor;
  ITimer& timer = *platform.timer;
  if (!HasTimeStampCounter(cpu)) return 0;
  const FineTimerResolution fine(timer);

  // Start on a fresh timer tick so the second is not cut short.
  const std::uint32_t t0 = timer.Milliseconds();
  std::uint32_t t1 = t0;
  while (static_cast<std::uint32_t>(t1 - t0) <= 1) t1 = timer.Milliseconds();

  cpu.Cpuid(0);  // serialises before the counter read
  const std::uint64_t start = cpu.ReadTimeStampCounter();
  while (static_cast<std::uint32_t>(timer.Milliseconds() - t1) <= 1000) {
  }
  cpu.Cpuid(0);
  const std::uint64_t end = cpu.ReadTimeStampCounter();

  // A counter that went backwards was read on another processor whose
  // counter runs apart, or across a move of the virtual machine: no speed.
  if (end < start) return 0;
  // The full 64-bit difference: a 32-bit one wraps above about 4.29 GHz.
  const std::uint64_t mhz = (end - start) / 1000000u;
  return mhz > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(mhz);
}

int MeasureNominalSpeed(const Platform& platform, const char* vendorKey) {
  const std::uint32_t measured = MeasureCpuSpeed(platform);
  if (measured == 0) return 0;
  return static_cast<int>(SnapToNominalSpeed(platform, measured, vendorKey));
}

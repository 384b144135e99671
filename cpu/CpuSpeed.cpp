#include "cpu/CpuSpeed.h"

#include "cpu/CpuVendor.h"
#include "cpu/Processor.h"
#include "cpu/SpeedTable.h"
#include "cpu/Timer.h"

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

  // The full 64-bit difference: a 32-bit one wraps above about 4.29 GHz.
  const std::uint64_t mhz = (end - start) / 1000000u;
  return mhz > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(mhz);
}

int MeasureNominalSpeed(const Platform& platform, const char* vendorKey) {
  const std::uint32_t measured = MeasureCpuSpeed(platform);
  if (measured == 0) return 0;
  return static_cast<int>(SnapToNominalSpeed(platform, measured, vendorKey));
}

// The clock measurement against the time-stamp counter's frequency: what
// CPUID states (leaves 0x15/0x16) where present, a reference given by the
// caller (the kernel's calibration), and the counter timed against the
// system's monotonic clock over two seconds. Prints "key value" lines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cpu/CpuSpeed.h"
#include "cpu/Timer.h"
#include "cpu/X86Processor.h"

#ifdef _WIN32
#include "cpu/win/WindowsProcessor.h"
using BenchProcessor = WindowsProcessor;
using BenchTimer = WindowsTimer;
#else
// The millisecond timer from the monotonic clock.
class BenchTimer final : public ITimer {
 public:
  std::uint32_t Milliseconds() override {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};
using BenchProcessor = X86Processor;
#endif

namespace {

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Counter ticks per microsecond over about two seconds of the monotonic clock.
double CounterMhzAgainstMonotonic(IProcessor& cpu) {
  const double t0 = Seconds();
  const std::uint64_t c0 = cpu.ReadTimeStampCounter();
  double t1 = t0;
  while (t1 - t0 < 2.0) t1 = Seconds();
  const std::uint64_t c1 = cpu.ReadTimeStampCounter();
  return static_cast<double>(c1 - c0) / (t1 - t0) / 1e6;
}

// Leaf 0x15: crystal x EBX/EAX; leaf 0x16: base MHz. 0 when not stated.
double CpuidStatedMhz(IProcessor& cpu) {
  const std::uint32_t maxLeaf = cpu.Cpuid(0).eax;
  if (maxLeaf >= 0x15) {
    const CpuidRegisters r = cpu.Cpuid(0x15);
    if (r.eax != 0 && r.ebx != 0 && r.ecx != 0)
      return static_cast<double>(r.ecx) * r.ebx / r.eax / 1e6;
  }
  if (maxLeaf >= 0x16) {
    const CpuidRegisters r = cpu.Cpuid(0x16);
    if ((r.eax & 0xFFFF) != 0) return r.eax & 0xFFFF;
  }
  return 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

// clock-check [REFERENCE_MHZ [REPEATS]]
int main(int argc, char** argv) {
  const double givenMhz = argc > 1 ? std::atof(argv[1]) : 0;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
  BenchProcessor cpu;
  BenchTimer timer;
  Platform platform;
  platform.processor = &cpu;
  platform.timer = &timer;

  std::vector<double> measured, cost, againstMonotonic;
  for (int i = 0; i < repeats; ++i) {
    const double start = Seconds();
    measured.push_back(MeasureCpuSpeed(platform));
    cost.push_back(Seconds() - start);
    againstMonotonic.push_back(CounterMhzAgainstMonotonic(cpu));
  }
  const double cpuidMhz = CpuidStatedMhz(cpu);
  const double monotonicMhz = Median(againstMonotonic);
  // The reference: CPUID's statement, else the caller's, else the counter
  // timed against the monotonic clock.
  const double reference = cpuidMhz > 0 ? cpuidMhz : givenMhz > 0 ? givenMhz : monotonicMhz;
  const char* source = cpuidMhz > 0 ? "cpuid" : givenMhz > 0 ? "given" : "monotonic";

  std::printf("repeats %d\n", repeats);
  std::printf("cpuid_mhz %.3f\n", cpuidMhz);
  std::printf("given_mhz %.3f\n", givenMhz);
  std::printf("counter_vs_monotonic_mhz %.3f\n", monotonicMhz);
  std::printf("reference_source %s\n", source);
  std::printf("reference_mhz %.3f\n", reference);
  std::printf("measured_mhz_median %.0f\n", Median(measured));
  std::printf("measured_mhz_min %.0f\n", *std::min_element(measured.begin(), measured.end()));
  std::printf("measured_mhz_max %.0f\n", *std::max_element(measured.begin(), measured.end()));
  std::printf("error_percent %.3f\n", reference > 0 ? (Median(measured) / reference - 1) * 100 : 0);
  std::printf("error_vs_monotonic_percent %.3f\n",
              monotonicMhz > 0 ? (Median(measured) / monotonicMhz - 1) * 100 : 0);
  std::printf("wall_cost_ms %.1f\n", Median(cost) * 1e3);
  return 0;
}

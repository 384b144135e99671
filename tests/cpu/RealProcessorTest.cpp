// The real processor of the machine running the tests: its own CPUID,
// flags and counter, compared with what the Linux kernel reports in
// /proc/cpuinfo (reached as Z:\proc\cpuinfo under Wine).
#include <cpuid.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "cpu/CpuSpeed.h"
#include "cpu/CpuVendor.h"
#include "cpu/ProcessorDescription.h"
#include "doubles/FakePlatform.h"
#include "doubles/ProcessorDoubles.h"
#ifdef _WIN32
#include "cpu/win/WindowsProcessor.h"
using RealProcessor = WindowsProcessor;
using RealTimer = WindowsTimer;
constexpr char kCpuInfo[] = "Z:/proc/cpuinfo";
#else
#include "cpu/X86Processor.h"
using RealProcessor = X86Processor;
using RealTimer = SteadyTimer;
constexpr char kCpuInfo[] = "/proc/cpuinfo";
#endif

namespace {

constexpr int kAttempts = 3;

// The first value of a /proc/cpuinfo field; empty when absent.
std::string CpuInfoField(const std::string& field) {
  std::ifstream file(kCpuInfo);
  std::string line;
  while (std::getline(file, line)) {
    if (line.compare(0, field.size(), field) != 0) continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    const std::size_t first = value.find_first_not_of(" \t");
    return first == std::string::npos ? "" : value.substr(first);
  }
  return {};
}

// How the description of this processor begins, by the naming rules'
// inputs read with the compiler's CPUID helper: the vendor, the signature's
// extended fields and the brand string. AMD parts show their brand string
// as it stands; Intel parts whose extended model or family is set show it
// without leading blanks; other Intel parts take the tables' "Intel ..."
// format. Empty for other vendors.
std::string ExpectedStart() {
  unsigned r[12] = {};
  __get_cpuid(0, &r[0], &r[1], &r[2], &r[3]);
  const std::string vendor = std::string(reinterpret_cast<const char*>(&r[1]), 4) +
                             std::string(reinterpret_cast<const char*>(&r[3]), 4) +
                             std::string(reinterpret_cast<const char*>(&r[2]), 4);
  __get_cpuid(1, &r[0], &r[1], &r[2], &r[3]);
  const bool extended = (r[0] & 0x0FFF0000u) != 0;
  char brand[49] = {};
  if (__get_cpuid_max(0x80000000u, nullptr) >= 0x80000004u) {
    for (unsigned i = 0; i < 3; ++i)
      __get_cpuid(0x80000002u + i, &r[4 * i], &r[4 * i + 1], &r[4 * i + 2], &r[4 * i + 3]);
    std::memcpy(brand, r, 48);
  }
  const std::string text = brand;
  const std::size_t first = text.find_first_not_of(' ');
  if (vendor == "AuthenticAMD" && !text.empty()) return text + ", ";
  if (vendor != "GenuineIntel") return {};
  return extended && first != std::string::npos ? text.substr(first) + ", " : "Intel ";
}

struct RealMachine {
  RealProcessor cpu;
  RealTimer timer;
  FakeHostProcess host;
  Platform platform;
  RealMachine() {
    host.path = "C:\\no-such-agent-dir\\agent.exe";
    platform.processor = &cpu;
    platform.timer = &timer;
    platform.host = &host;
  }
};

TEST(RealProcessorTest, FlagTestsFindAModernProcessor) {
  RealProcessor cpu;
  EXPECT_TRUE(cpu.CanToggleIdFlag());
  EXPECT_TRUE(cpu.CanToggleAlignmentFlag());
  // Neither an 8086 (bits stuck set) nor a 286 (bits stuck clear).
  EXPECT_NE(cpu.FlagsHighNibbleAfterWrite(0x0), 0xFu);
  EXPECT_NE(cpu.FlagsHighNibbleAfterWrite(0xF), 0x0u);
  EXPECT_FALSE(cpu.HasIoPrivilege());
  EXPECT_EQ(cpu.ReadConfigRegister(0xC3), 0xFF);  // refused without privilege
}

TEST(RealProcessorTest, VendorStringMatchesTheKernel) {
  const std::string vendor = CpuInfoField("vendor_id");
  if (vendor.empty()) GTEST_SKIP() << "no " << kCpuInfo;
  RealProcessor cpu;
  char text[13] = {};
  ASSERT_EQ(ReadCpuVendorString(cpu, text), 1);
  EXPECT_EQ(vendor, text);
  EXPECT_NE(GetCpuVendor(cpu), kVendorUnknown);
  EXPECT_TRUE(HasTimeStampCounter(cpu));
}

TEST(RealProcessorTest, DescriptionNamesThisProcessorAndItsClock) {
  const double kernelMhz = std::atof(CpuInfoField("cpu MHz").c_str());
  if (kernelMhz <= 0) GTEST_SKIP() << "no " << kCpuInfo;

  RealMachine machine;
  // A one-second measurement preempted at its end reads high; on a loaded
  // machine take the closest of a few descriptions.
  std::string description;
  double describedMhz = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    description = GetProcessorDescription(machine.platform);
    const std::size_t comma = description.rfind(", ");
    ASSERT_NE(comma, std::string::npos) << description;
    describedMhz = std::atof(description.c_str() + comma + 2);
    if (std::abs(describedMhz - kernelMhz) <= kernelMhz * 0.01) break;
  }
  EXPECT_EQ(description.rfind(ExpectedStart(), 0), 0u) << description;
  EXPECT_NEAR(describedMhz, kernelMhz, kernelMhz * 0.01) << description;
  EXPECT_EQ(description.substr(description.size() - 4), " MHz") << description;
}

TEST(RealProcessorTest, MeasuredSpeedAgreesWithTheCounterFrequency) {
  const double kernelMhz = std::atof(CpuInfoField("cpu MHz").c_str());
  if (kernelMhz <= 0) GTEST_SKIP() << "no " << kCpuInfo;
  RealMachine machine;
  double measured = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    measured = MeasureCpuSpeed(machine.platform);
    if (std::abs(measured - kernelMhz) <= kernelMhz * 0.01) break;
  }
  EXPECT_NEAR(measured, kernelMhz, kernelMhz * 0.01);
}

}  // namespace

// The real processor of the machine running the tests: its own CPUID,
// flags and counter, against what the Linux kernel reports in
// /proc/cpuinfo (reached as Z:\proc\cpuinfo under Wine).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

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

// The first value of a /proc/cpuinfo field; empty when absent.
std::string CpuInfoField(const std::string& field) {
  std::ifstream file(kCpuInfo);
  for (std::string line; std::getline(file, line);) {
    const std::size_t value = line.find_first_not_of(" \t", line.find(':') + 1);
    if (line.rfind(field, 0) == 0 && line.find(':') != line.npos && value != line.npos)
      return line.substr(value);
  }
  return {};
}

// The description of this processor, with no speed table at hand.
std::string Describe(RealProcessor& cpu) {
  RealTimer timer;
  FakeHostProcess host;
  host.path = "C:\\no-such-agent-dir\\agent.exe";
  Platform platform;
  platform.processor = &cpu;
  platform.timer = &timer;
  platform.host = &host;
  return GetProcessorDescription(platform);
}

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

// Left out under qemu-user, whose /proc/cpuinfo describes the host. Today's
// parts of both vendors are described by their brand string.
TEST(RealProcessorTest, VendorStringMatchesTheKernel) {
  const std::string vendor = CpuInfoField("vendor_id");
  if (vendor.empty()) GTEST_SKIP() << "no " << kCpuInfo;
  RealProcessor cpu;
  char text[13] = {};
  ASSERT_EQ(ReadCpuVendorString(cpu, text), 1);
  EXPECT_EQ(vendor, text);
  if (vendor == "GenuineIntel" || vendor == "AuthenticAMD") {
    EXPECT_NE(Describe(cpu).find(CpuInfoField("model name")), std::string::npos);
  }
}

// A one-second measurement preempted at its end reads high: on a loaded
// machine the closest of a few counts.
TEST(RealProcessorTest, DescriptionShowsTheCounterFrequency) {
  const double kernelMhz = std::atof(CpuInfoField("cpu MHz").c_str());
  if (kernelMhz <= 0) GTEST_SKIP() << "no " << kCpuInfo;
  RealProcessor cpu;
  std::string description;
  double mhz = 0;
  for (int attempt = 0; attempt < 3 && std::abs(mhz - kernelMhz) > kernelMhz * 0.01; ++attempt) {
    description = Describe(cpu);
    mhz = std::atof(description.c_str() + description.rfind(", ") + 2);
  }
  EXPECT_NEAR(mhz, kernelMhz, kernelMhz * 0.01) << description;
  EXPECT_EQ(description.substr(description.size() - 4), " MHz") << description;
}

}  // namespace

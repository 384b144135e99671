// Recorded processors, each a fixture of CPUID leaves and flag, port and
// counter behaviour with the description expected for it.
#include <gtest/gtest.h>

#include <string>

#include "cpu/CpuVendor.h"
#include "cpu/ProcessorDescription.h"
#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/ProcessorDoubles.h"
#include "doubles/ScriptedProcessor.h"

namespace {

constexpr const char* kRecordings[] = {
    "intel-p3-celeron-l2-none",
    "intel-p3-xeon-l2-1mb",
    "intel-p3-plain",
    "intel-p4-brand9",
    "intel-mobile-p4-brand14",
    "intel-core2-brand0",
    "intel-xeon-registry",
    "intel-p4-brand0-no-registry",
    "intel-pentium-m-brand22",
    "intel-brand22-other-model",
    "intel-overdrive-pentium",
    "intel-overdrive-unknown",
    "intel-type2",
    "intel-vendor-upper-case",
    "intel-486-no-cpuid",
    "intel-386-no-cpuid",
    "intel-486-no-tsc",
    "intel-fast-counter",
    "intel-counter-backwards",
    "intel-core2-duo-e8400",
    "intel-core-i7-920",
    "intel-xeon-gold-6148",
    "intel-core-i9-9900k",
    "intel-extended-brand-leading-blanks",
    "intel-extended-no-brand-leaf",
    "hygon-c86-7185",
    "amd-athlon-brand",
    "amd-k6-no-brand",
    "amd-family5-model5",
    "amd-empty-brand",
    "amd-486-no-tsc",
    "amd-vendor-mixed-case",
    "cyrix-6x86mx",
    "cyrix-6x86mx-timed",
    "cyrix-6x86l-feature-105",
    "cyrix-6x86-feature-5",
    "cyrix-no-cpuid-6x86l",
    "cyrix-no-cpuid-6x86",
    "cyrix-no-cpuid-gxm",
    "cyrix-no-cpuid-mediagx",
    "cyrix-no-cpuid-no-ccr",
    "cyrix-no-cpuid-ccr2-only",
    "cyrix-no-cpuid-no-privilege",
    "cyrix-brand-not-canonical",
    "cyrix-brand-canonical",
    "cyrix-vendor-upper-case",
    "cyrix-counter-clock",
    "transmeta-brand",
    "transmeta-leaves-only",
    "transmeta-nothing",
    "via-c3",
    "via-lower-case",
    "nexgen",
    "rise",
    "unlisted-vendor",
    "no-cpuid-cyrix-probe-8086",
};

constexpr char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

// A machine around one recorded processor, with no speed table.
struct RecordedMachine {
  RecordedProcessor recording;
  SteppingTimer timer;
  FakeRegistry registry;
  FakeHostProcess host;
  HostFileSystem files;
  HostProfileReader profile;
  Platform platform;

  explicit RecordedMachine(const std::string& name) {
    std::string error;
    const std::string path = std::string(MORV_FIXTURES) + "/cpu/" + name + ".txt";
    EXPECT_TRUE(LoadRecordingFile(path, recording, &error)) << error;
    if (recording.registryName) {
      registry.SetText(kProcessorKey, "ProcessorNameString", *recording.registryName);
    }
    host.path = "C:\\no-such-agent-dir\\agent.exe";
    platform.processor = &recording.cpu;
    platform.timer = &timer;
    platform.registry = &registry;
    platform.host = &host;
    platform.files = &files;
    platform.profile = &profile;
  }
};

class RecordedProcessorTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RecordedProcessorTest, DescribesAsRecorded) {
  RecordedMachine machine(GetParam());
  ASSERT_FALSE(machine.recording.expected.empty()) << "fixture lacks an expect line";
  EXPECT_EQ(GetProcessorDescription(machine.platform), machine.recording.expected);
  // Without I/O privilege the ports are never touched.
  if (!machine.recording.cpu.ioPrivilege) {
    EXPECT_EQ(machine.recording.cpu.portCalls, 0);
  }
  EXPECT_EQ(machine.registry.OpenHandles(), 0u);
  // The timer runs at 1-ms resolution while it is read, and is restored.
  EXPECT_EQ(machine.timer.coarseReads, 0);
  EXPECT_TRUE(machine.timer.periods.empty());
  EXPECT_EQ(machine.timer.unmatchedEnds, 0);
}

INSTANTIATE_TEST_SUITE_P(Recordings, RecordedProcessorTest, ::testing::ValuesIn(kRecordings),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

TEST(RecordedProcessorTest, WithoutCpuidNoLeafIsRead) {
  for (const char* name : {"intel-486-no-cpuid", "intel-386-no-cpuid", "cyrix-no-cpuid-6x86l",
                           "no-cpuid-cyrix-probe-8086"}) {
    RecordedMachine machine(name);
    GetProcessorDescription(machine.platform);
    EXPECT_EQ(machine.recording.cpu.cpuidCalls, 0) << name;
    EXPECT_EQ(machine.recording.cpu.tscCalls, 0) << name;
  }
}

TEST(RecordedProcessorTest, ConfigurationRegistersGetTheirValuesBack) {
  RecordedMachine machine("cyrix-no-cpuid-6x86l");
  machine.recording.cpu.configRegisters[0xC2] = 0x5A;
  machine.recording.cpu.configRegisters[0xC3] = 0x13;
  EXPECT_EQ(GetProcessorDescription(machine.platform), "Cyrix 6x86L(tm), 200 MHz");
  EXPECT_EQ(machine.recording.cpu.configRegisters[0xC2], 0x5A);
  EXPECT_EQ(machine.recording.cpu.configRegisters[0xC3], 0x13);
}

TEST(RecordedProcessorTest, VendorCodes) {
  struct Case {
    const char* vendor;
    int code;
  };
  constexpr Case kCases[] = {
      {"GenuineIntel", 1}, {"AuthenticAMD", 2}, {"CyrixInstead", 3}, {"GenuineTMx86", 4},
      {"CentaurHauls", 5}, {"NexGenDriven", 6}, {"RiseRiseRise", 7}, {"UMC", 8},
      {"umc", 8},          {"UMC UMC UMC ", 0}, {"GenuineIotel", 0}, {"", 0},
      {"rISErISErISE", 7}, {"genuinetmx86", 4},
  };
  for (const Case& c : kCases) {
    ScriptedProcessor cpu;
    cpu.SetVendor(1, c.vendor);
    EXPECT_EQ(GetCpuVendor(cpu), c.code) << c.vendor;
  }
  ScriptedProcessor noCpuid;
  noCpuid.SetVendor(1, "GenuineIntel");
  noCpuid.idFlag = false;
  EXPECT_EQ(GetCpuVendor(noCpuid), 0);
  EXPECT_EQ(ReadCpuVendorString(noCpuid, nullptr), 0);
}

TEST(RecordedProcessorTest, WithoutProcessorServiceDescribesNothing) {
  Platform platform;
  EXPECT_EQ(GetProcessorDescription(platform), "");
}

TEST(RecordingParserTest, RejectsMalformedLines) {
  constexpr const char* kBad[] = {
      "cpuid 1 2 3", "vendor 1 GenuineIntel", "brand nothing-quoted",   "config-register c2",
      "pit 8192 0",  "frobnicate 1",          "cpuid 1 0000zz00 0 0 0",
  };
  for (const char* text : kBad) {
    RecordedProcessor recording;
    std::string error;
    EXPECT_FALSE(LoadRecording(text, recording, &error)) << text;
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
  }
}

}  // namespace

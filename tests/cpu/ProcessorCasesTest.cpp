// Every processor case of fixtures/cpu, described as the module does:
// whole recordings (one file, one case) and the naming tables' rows (one
// line, one case). The host program's directory holds the speed table of
// fixtures/cpu/speed/keys, which snaps 990 to 1010 MHz to a value per vendor key.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cpu/ProcessorDescription.h"
#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/ProcessorDoubles.h"
#include "doubles/ScriptedProcessor.h"

namespace {

TEST(ProcessorCasesTest, DescribesEveryCase) {
  int described = 0;
  for (const auto& file : std::filesystem::directory_iterator(MORV_FIXTURES "/cpu")) {
    if (file.path().extension() != ".txt") continue;
    std::vector<RecordedProcessor> cases;
    std::string error;
    ASSERT_TRUE(LoadRecordings(file.path().string(), cases, &error)) << error;
    EXPECT_FALSE(cases.empty()) << file.path() << " holds no case";
    for (RecordedProcessor& c : cases) {
      SCOPED_TRACE(file.path().filename().string() + ":" + std::to_string(c.line));
      const auto registers = c.cpu.configRegisters;
      SteppingTimer timer;
      timer.now = static_cast<std::uint32_t>(c.cpu.Setting("timer-start", timer.now));
      FakeRegistry registry;
      ASSERT_TRUE(registry.LoadText(
          "REGEDIT4\n[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0]\n" +
          (c.registryName ? "\"ProcessorNameString\"=\"" + *c.registryName + "\"\n" : "")));
      FakeHostProcess host;
      host.path = MORV_FIXTURES "/cpu/speed/keys/agent.exe";
      std::replace(host.path.begin(), host.path.end(), '/', '\\');
      HostFileSystem files;
      HostProfileReader profile;
      Platform platform;
      platform.processor = &c.cpu;
      platform.timer = &timer;
      platform.registry = &registry;
      platform.host = &host;
      platform.files = &files;
      platform.profile = &profile;
      EXPECT_EQ(GetProcessorDescription(platform), c.expected);
      EXPECT_EQ(c.cpu.violations, 0) << "CPUID, RDTSC or ports used where the part lacks them";
      EXPECT_EQ(c.cpu.configRegisters, registers) << "configuration registers not restored";
      EXPECT_EQ(registry.OpenHandles(), 0u);
      EXPECT_EQ(timer.coarseReads, 0) << "timer read at its coarse resolution";
      EXPECT_EQ(timer.finePeriods, 0) << "timer resolution not restored";
      ++described;
    }
  }
  EXPECT_GT(described, 0);
}

}  // namespace

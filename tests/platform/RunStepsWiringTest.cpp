// The run's fallback steps reach the platform facts and the registry walks.
#include <gtest/gtest.h>

#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "entry/ModuleRunSteps.h"

namespace {

TEST(RunStepsWiringTest, FallbacksOfAWin98Machine) {
  FakeVersionInfo version;
  version.version = versions::kWin98;
  version.info = {4, 10, 2222, 1};
  FakeSystemMetrics metrics;
  FakeRegistry registry;
  std::string error;
  ASSERT_TRUE(registry.LoadFile(MORV_FIXTURES "/registry/win9x.reg", &error)) << error;
  FakeMemoryStatus memory;
  memory.basic = 96u << 20;
  FakeDrives drives;
  drives.drives['C'].totalBytes = 4000;
  drives.drives['C'].freeBytes = 1000;
  drives.drives['D'].type = kDriveCdrom;
  Platform platform;
  platform.version = &version;
  platform.metrics = &metrics;
  platform.registry = &registry;
  platform.memory = &memory;
  platform.drives = &drives;
  ModuleRunSteps steps(platform);

  PlatformFacts facts;
  steps.GetOsEditionCode(facts);
  EXPECT_EQ(facts.OsEditionCode, 3003);
  EXPECT_EQ(steps.GetOsEditionName(facts.OsEditionCode), "Microsoft Windows 98");
  EXPECT_EQ(steps.GetTotalPhysicalMemory(), 96u << 20);
  EXPECT_EQ(steps.GetFixedDiskTotalBytes(), 4000u);
  EXPECT_EQ(steps.GetFixedDiskFreeBytes(), 1000u);
  std::vector<std::string> monitors, adapters, cdroms;
  steps.FindMonitorNames(monitors, facts);
  steps.FindDisplayAdapterNames(facts, adapters);
  steps.FindCdromNames(facts, cdroms);
  EXPECT_EQ(monitors, std::vector<std::string>{"Default Monitor"});
  EXPECT_EQ(adapters, (std::vector<std::string>{"Adapter One", "Adapter Two"}));
  EXPECT_EQ(cdroms, std::vector<std::string>{"CD at D"});
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(RunStepsWiringTest, MissingServicesGiveEmptyResults) {
  ModuleRunSteps steps(Platform{});
  PlatformFacts facts;
  steps.GetOsEditionCode(facts);
  EXPECT_EQ(facts.OsEditionCode, 0);
  EXPECT_EQ(steps.GetTotalPhysicalMemory(), 0u);
  EXPECT_EQ(steps.GetFixedDiskTotalBytes(), 0u);
  std::vector<std::string> names;
  steps.FindMonitorNames(names, facts);
  steps.FindCdromNames(facts, names);
  EXPECT_TRUE(names.empty());
}

}  // namespace

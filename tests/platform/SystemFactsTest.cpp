#include <gtest/gtest.h>

#include "doubles/FakePlatform.h"
#include "doubles/FakeSystemFacts.h"
#include "entry/InventorySummary.h"
#include "platform/SystemFacts.h"

namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

TEST(PhysicalMemoryTest, ChoosesTheEntryPointByFamily) {
  struct Case {
    const char* system;
    std::uint32_t version;
    std::optional<std::uint32_t> basic;
    std::optional<std::uint64_t> extended;
    std::uint64_t total;
  };
  const Case cases[] = {
      {"NT takes the extended total", versions::kWin7, 0x7FFFFFFFu, 16 * kGiB, 16 * kGiB},
      {"NT without the extended call", versions::kNt4, 64u << 20, std::nullopt, 64u << 20},
      {"9x keeps the old call", versions::kWin98, 128u << 20, 16 * kGiB, 128u << 20},
      {"nothing at all", versions::kWin7, std::nullopt, std::nullopt, 0},
      {"9x without either", versions::kWin98, std::nullopt, 4 * kGiB, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    FakeVersionInfo version;
    version.version = c.version;
    FakeMemoryStatus memory;
    memory.basic = c.basic;
    memory.extended = c.extended;
    EXPECT_EQ(GetTotalPhysicalMemory(version, memory), c.total);
  }
}

FakeDrives::Drive Drive(std::uint32_t type, std::uint64_t total, std::uint64_t free,
                        std::uint64_t available) {
  FakeDrives::Drive d;
  d.type = type;
  d.totalBytes = total;
  d.freeBytes = free;
  d.availableBytes = available;
  // Cluster figures disagree on purpose, to show which call was used.
  d.clusters = {8, 512, 1, 2};
  return d;
}

TEST(FixedDiskSpaceTest, CountsFixedDrivesOnly) {
  FakeDrives drives;
  drives.drives['C'] = Drive(kDriveFixed, 100 * kGiB, 40 * kGiB, 10 * kGiB);
  drives.drives['D'] = Drive(kDriveCdrom, 700u << 20, 0, 0);
  drives.drives['E'] = Drive(kDriveRemovable, 8 * kGiB, 4 * kGiB, 4 * kGiB);
  drives.drives['F'] = Drive(kDriveFixed, 5 * kGiB, 3 * kGiB, 1 * kGiB);
  EXPECT_EQ(GetFixedDiskTotalBytes(drives), 105 * kGiB);
  EXPECT_EQ(GetFixedDiskFreeBytes(drives), 43 * kGiB);  // total free, not the quota
  const std::vector<std::string> roots = {"C:\\", "D:\\", "E:\\", "F:\\"};
  EXPECT_EQ(std::vector<std::string>(drives.typeQueries.begin(), drives.typeQueries.begin() + 4),
            roots);
}

TEST(FixedDiskSpaceTest, FallsBackToClustersIn64Bits) {
  struct Case {
    const char* why;
    bool hasEx;
    bool exFails;
    bool clustersFail;
    std::uint64_t total;
    std::uint64_t free;
  };
  // 64 sectors of 512 bytes, 2^20 clusters of which 3/4 are free: 32 GiB total.
  const Case cases[] = {
      {"extended call missing", false, false, false, 32 * kGiB, 24 * kGiB},
      {"extended call failing", true, true, false, 32 * kGiB, 24 * kGiB},
      {"both failing: nothing", true, true, true, 0, 0},
      {"extended call answers", true, false, false, 7, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    FakeDrives drives;
    drives.hasEx = c.hasEx;
    FakeDrives::Drive& d = drives.drives['C'];
    d.totalBytes = 7;
    d.freeBytes = 5;
    d.availableBytes = 1;
    d.exFails = c.exFails;
    d.clustersFail = c.clustersFail;
    d.clusters = {64, 512, 3u << 18, 1u << 20};
    EXPECT_EQ(GetFixedDiskTotalBytes(drives), c.total);
    EXPECT_EQ(GetFixedDiskFreeBytes(drives), c.free);
  }
}

TEST(FixedDiskSpaceTest, NoDrivesSumToZero) {
  FakeDrives drives;
  EXPECT_EQ(GetFixedDiskTotalBytes(drives), 0u);
  EXPECT_EQ(GetFixedDiskFreeBytes(drives), 0u);
}

TEST(PowerPolicyTest, SleepAndHibernateFollowTheIdleAction) {
  struct Case {
    const char* why;
    std::uint32_t action, idle, dozeS4;
    std::uint32_t sleep, hibernate;
  };
  const Case cases[] = {
      {"sleep then hibernate", kPowerActionSleep, 300, 600, 300, 900},
      {"sleep without doze", kPowerActionSleep, 300, 0, 300, 0},
      {"hibernate", kPowerActionHibernate, 900, 600, 0, 900},
      {"none", kPowerActionNone, 900, 600, 0, 0},
      {"shutdown", 6, 900, 600, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    FakePowerPolicy power;
    PowerPolicySnapshot p;
    p.VideoTimeoutAc = 1;
    p.VideoTimeoutDc = 2;
    p.SpindownTimeoutAc = 3;
    p.SpindownTimeoutDc = 4;
    p.IdleActionAc = c.action;
    p.IdleTimeoutAc = c.idle;
    p.DozeS4TimeoutAc = c.dozeS4;
    // DC mirrors AC with doubled times, so crossed fields show up.
    p.IdleActionDc = c.action;
    p.IdleTimeoutDc = 2 * c.idle;
    p.DozeS4TimeoutDc = 2 * c.dozeS4;
    power.policy = p;
    FakeDebugOutput debug;
    PowerRecord record;
    record.Sleep_Ac = 12345;
    EXPECT_EQ(ReadPowerPolicy(&record, power, debug), 1);
    EXPECT_EQ(record.Monitor_Ac, 1u);
    EXPECT_EQ(record.Monitor_Dc, 2u);
    EXPECT_EQ(record.Harddisk_Ac, 3u);
    EXPECT_EQ(record.Harddisk_Dc, 4u);
    EXPECT_EQ(record.Sleep_Ac, c.sleep);
    EXPECT_EQ(record.Sleep_Dc, 2 * c.sleep);
    EXPECT_EQ(record.Hibernate_Ac, c.hibernate);
    EXPECT_EQ(record.Hibernate_Dc, 2 * c.hibernate);
    EXPECT_TRUE(debug.lines.empty());
  }
}

TEST(PowerPolicyTest, RefusedQueryZeroesTheRecordAndSaysWhy) {
  FakePowerPolicy power;
  power.lastError = 1168;
  FakeDebugOutput debug;
  PowerRecord record;
  record.Monitor_Ac = record.Hibernate_Dc = 99;
  EXPECT_EQ(ReadPowerPolicy(&record, power, debug), 0);
  EXPECT_EQ(record.Monitor_Ac, 0u);
  EXPECT_EQ(record.Hibernate_Dc, 0u);
  EXPECT_EQ(debug.lines, std::vector<std::string>{"GetCurrentPowerPolicies is fail(error : 1168)"});
}

TEST(PowerPolicyTest, NoRecordIsNotAFailure) {
  FakePowerPolicy power;
  FakeDebugOutput debug;
  EXPECT_EQ(ReadPowerPolicy(nullptr, power, debug), 1);
  EXPECT_TRUE(debug.lines.empty());
}

}  // namespace

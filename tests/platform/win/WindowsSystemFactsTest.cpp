// The Windows platform services as Wine answers them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "doubles/FakePlatform.h"
#include "entry/InventorySummary.h"
#include "platform/OsEdition.h"
#include "platform/SystemFacts.h"
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsSystemFacts.h"
#include "registry/DeviceWalks.h"
#include "registry/win/WindowsRegistry.h"

namespace {

// The real drives with GetDiskFreeSpaceExA hidden, as on a system that
// lacks it.
class DrivesWithoutEx final : public IDrives {
 public:
  explicit DrivesWithoutEx(IDrives& real) : real_(real) {}
  std::uint32_t GetLogicalDrives() override { return real_.GetLogicalDrives(); }
  std::uint32_t GetDriveType(const std::string& root) override { return real_.GetDriveType(root); }
  bool HasDiskFreeSpaceEx() override { return false; }
  bool GetDiskFreeSpaceEx(const std::string&, std::uint64_t*, std::uint64_t*,
                          std::uint64_t*) override {
    return false;
  }
  bool GetDiskFreeSpace(const std::string& root, DiskClusters& out) override {
    return real_.GetDiskFreeSpace(root, out);
  }

 private:
  IDrives& real_;
};

TEST(WindowsSystemFactsTest, MemoryTotalComesFromTheExtendedCall) {
  WindowsVersionInfo version;
  WindowsMemoryStatus memory;
  const auto extended = memory.GlobalMemoryStatusEx();
  ASSERT_TRUE(extended.has_value());
  EXPECT_GT(*extended, 0u);
  ASSERT_TRUE(memory.GlobalMemoryStatus().has_value());
  EXPECT_EQ(GetTotalPhysicalMemory(version, memory), *extended);
}

TEST(WindowsSystemFactsTest, DriveCIsFixedAndSized) {
  WindowsDrives drives;
  EXPECT_NE(drives.GetLogicalDrives() & (1u << 2), 0u);
  EXPECT_EQ(drives.GetDriveType("C:\\"), kDriveFixed);
  ASSERT_TRUE(drives.HasDiskFreeSpaceEx());
  const std::uint64_t total = GetFixedDiskTotalBytes(drives);
  const std::uint64_t free = GetFixedDiskFreeBytes(drives);
  EXPECT_GT(total, 0u);
  EXPECT_LE(free, total);
  DrivesWithoutEx clustersOnly(drives);
  EXPECT_GT(GetFixedDiskTotalBytes(clustersOnly), 0u);
}

// Run with MORV_CDROM_LETTER set and that letter mapped as a CD-ROM drive.
TEST(WindowsSystemFactsTest, CdromDriveIsFoundByItsType) {
  const char* letter = std::getenv("MORV_CDROM_LETTER");
  if (!letter || !*letter) GTEST_SKIP() << "no CD-ROM drive configured for this run";
  WindowsDrives drives;
  EXPECT_EQ(drives.GetDriveType(std::string(1, letter[0]) + ":\\"), kDriveCdrom);
  PlatformFacts facts;
  FindCdromLetters(drives, facts);
  EXPECT_EQ(facts.cdromLetterCount, 1);
  EXPECT_EQ(facts.cdromLetters[0], letter[0]);
}

TEST(WindowsSystemFactsTest, RefusedPowerPolicyLeavesZerosAndOneLine) {
  const struct {
    const char* library;
    const char* line;  // the start of the debugger line
  } cases[] = {
      // Wine's GetCurrentPowerPolicies is a stub that fails.
      {"powrprof.dll", "GetCurrentPowerPolicies is fail(error : "},
      // As on Windows 95 and NT 4.0, which have no power library.
      {"morv-no-such-library.dll", "GetCurrentPowerPolicies is fail(error : 126)"},
      {"kernel32.dll", "GetCurrentPowerPolicies is fail(error : 127)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.library);
    WindowsPowerPolicy power(c.library);
    FakeDebugOutput debug;
    PowerRecord record;
    record.Monitor_Ac = 5;
    EXPECT_EQ(ReadPowerPolicy(&record, power, debug), 0);
    EXPECT_EQ(record.Monitor_Ac, 0u);
    ASSERT_EQ(debug.lines.size(), 1u);
    EXPECT_EQ(debug.lines[0].rfind(c.line, 0), 0u) << debug.lines[0];
  }
}

// Run with MORV_EXPECT_EDITION set to the code of the version Wine reports.
TEST(WindowsSystemFactsTest, EditionOfTheReportedVersion) {
  const char* expected = std::getenv("MORV_EXPECT_EDITION");
  if (!expected || !*expected) GTEST_SKIP() << "no expected edition for this run";
  WindowsVersionInfo version;
  WindowsSystemMetrics metrics;
  WindowsRegistry registry;
  std::int32_t code = 0;
  EXPECT_EQ(GetOsEditionCode(version, metrics, registry, code), 0);
  EXPECT_EQ(code, std::atoi(expected));
}

}  // namespace

// The Windows platform services as Wine answers them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/OsEdition.h"
#include "platform/SystemFacts.h"
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsSystemFacts.h"
#include "registry/DeviceWalks.h"
#include "registry/win/WindowsRegistry.h"

namespace {

TEST(WindowsSystemFactsTest, MemoryAndFixedDrive) {
  WindowsVersionInfo version;
  WindowsMemoryStatus memory;
  const auto extended = memory.GlobalMemoryStatusEx();
  ASSERT_TRUE(extended.has_value() && memory.GlobalMemoryStatus().has_value());
  EXPECT_EQ(GetTotalPhysicalMemory(version, memory), *extended);
  WindowsDrives drives;
  EXPECT_EQ(drives.GetDriveType("C:\\"), kDriveFixed);
  ASSERT_TRUE(drives.HasDiskFreeSpaceEx());
  EXPECT_GT(GetFixedDiskTotalBytes(drives), 0u);
  EXPECT_LE(GetFixedDiskFreeBytes(drives), GetFixedDiskTotalBytes(drives));
  DiskClusters clusters;
  ASSERT_TRUE(drives.GetDiskFreeSpace("C:\\", clusters));
  EXPECT_GT(std::uint64_t{clusters.totalClusters} * clusters.sectorsPerCluster, 0u);
}

// Run with MORV_CDROM_LETTER set and that letter mapped as a CD-ROM drive.
TEST(WindowsSystemFactsTest, CdromDriveIsFoundByItsType) {
  const char* letter = std::getenv("MORV_CDROM_LETTER");
  if (!letter || !*letter) GTEST_SKIP() << "no CD-ROM drive configured for this run";
  WindowsDrives drives;
  PlatformFacts facts;
  FindCdromLetters(drives, facts);
  EXPECT_EQ(std::string(facts.cdromLetters, facts.cdromLetterCount), std::string(1, letter[0]));
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

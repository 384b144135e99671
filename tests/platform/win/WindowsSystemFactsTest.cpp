// The Windows memory and drive services as Wine answers them (the cases
// under Wine mask these sizes; they check the edition and the CD-ROM
// letters through the real module).
#include <gtest/gtest.h>

#include "platform/SystemFacts.h"
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsSystemFacts.h"

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

}  // namespace

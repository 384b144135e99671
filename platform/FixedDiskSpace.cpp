#include <string>

#include "platform/Drives.h"
#include "platform/SystemFacts.h"

namespace {

enum class Figure { Total, Free };

std::uint64_t SumFixedDrives(IDrives& drives, Figure figure) {
  std::uint64_t sum = 0;
  const std::uint32_t mask = drives.GetLogicalDrives();
  for (int i = 0; i < 32; ++i) {
    if ((mask & (1u << i)) == 0) continue;
    const std::string root{static_cast<char>('A' + i), ':', '\\'};
    if (drives.GetDriveType(root) != kDriveFixed) continue;
    if (drives.HasDiskFreeSpaceEx()) {
      std::uint64_t bytes = 0;
      std::uint64_t* total = figure == Figure::Total ? &bytes : nullptr;
      std::uint64_t* free = figure == Figure::Free ? &bytes : nullptr;
      if (drives.GetDiskFreeSpaceEx(root, nullptr, total, free)) {
        sum += bytes;
        continue;
      }
    }
    DiskClusters clusters;
    if (!drives.GetDiskFreeSpace(root, clusters)) continue;
    const std::uint64_t clusterBytes =
        std::uint64_t{clusters.sectorsPerCluster} * clusters.bytesPerSector;
    sum +=
        clusterBytes * (figure == Figure::Total ? clusters.totalClusters : clusters.freeClusters);
  }
  return sum;
}

}  // namespace

std::uint64_t GetFixedDiskTotalBytes(IDrives& drives) {
  return SumFixedDrives(drives, Figure::Total);
}

std::uint64_t GetFixedDiskFreeBytes(IDrives& drives) {
  return SumFixedDrives(drives, Figure::Free);
}

#pragma once
#include <cstdint>
#include <string>

inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveCdrom = 5;

struct DiskClusters {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
};

// Logical drives, their types and free space. Root paths look like "C:\".
class IDrives {
 public:
  virtual ~IDrives() = default;
  // Bit i set: drive 'A' + i exists.
  virtual std::uint32_t GetLogicalDrives() = 0;
  virtual std::uint32_t GetDriveType(const std::string& root) = 0;
  // Whether kernel32 exports GetDiskFreeSpaceExA (looked up by name).
  virtual bool HasDiskFreeSpaceEx() = 0;
  // GetDiskFreeSpaceExA with its three optional outputs; null ones are not
  // requested. False when the call fails or the entry point is missing.
  virtual bool GetDiskFreeSpaceEx(const std::string& root, std::uint64_t* availableToCaller,
                                  std::uint64_t* totalBytes, std::uint64_t* totalFreeBytes) = 0;
  // GetDiskFreeSpaceA. On failure returns false and leaves `out` untouched.
  virtual bool GetDiskFreeSpace(const std::string& root, DiskClusters& out) = 0;
};

#pragma once
#include "platform/Drives.h"
#include "platform/MemoryStatus.h"
#include "platform/PowerPolicy.h"
#include "platform/SystemMetrics.h"

// The Windows implementations of the metrics, memory, drive and power
// services. The optional kernel32 entry points are looked up by name on
// every call, so the module loads where they are missing.

class WindowsSystemMetrics final : public ISystemMetrics {
 public:
  int GetSystemMetrics(int index) override;
};

class WindowsMemoryStatus final : public IMemoryStatus {
 public:
  std::optional<std::uint32_t> GlobalMemoryStatus() override;
  std::optional<std::uint64_t> GlobalMemoryStatusEx() override;
};

class WindowsDrives final : public IDrives {
 public:
  std::uint32_t GetLogicalDrives() override;
  std::uint32_t GetDriveType(const std::string& root) override;
  bool HasDiskFreeSpaceEx() override;
  bool GetDiskFreeSpaceEx(const std::string& root, std::uint64_t* availableToCaller,
                          std::uint64_t* totalBytes, std::uint64_t* totalFreeBytes) override;
  bool GetDiskFreeSpace(const std::string& root, DiskClusters& out) override;
};

class WindowsPowerPolicy final : public IPowerPolicy {
 public:
  bool GetCurrentPowerPolicies(PowerPolicySnapshot& policy) override;
  std::uint32_t GetLastError() override;
};

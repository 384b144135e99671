#pragma once
#include "platform/Drives.h"
#include "platform/MemoryStatus.h"
#include "platform/PowerPolicy.h"
#include "platform/SystemMetrics.h"

// The Windows implementations of the metrics, memory, drive and power
// services. The optional kernel32 entry points and the power library are
// looked up by name, so the module loads where they are missing.

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

// GetCurrentPowerPolicies is looked up in `library`, which Windows 95 and
// NT 4.0 do not have: a missing library or entry point fails the call with
// the error of LoadLibraryA (126) or GetProcAddress (127), and the next call
// looks again. Once found, the library stays loaded for the process's life:
// loading it costs more than the rest of the power step (1.5 ms of 2 under
// Wine), and it cannot be released safely while the module itself unloads.
class WindowsPowerPolicy final : public IPowerPolicy {
 public:
  explicit WindowsPowerPolicy(const char* library = "powrprof.dll") : library_(library) {}
  bool GetCurrentPowerPolicies(PowerPolicySnapshot& policy) override;
  // The error of the last call's failing step.
  std::uint32_t GetLastError() override;

 private:
  const char* library_;
  void (*entry_)() = nullptr;  // GetCurrentPowerPolicies, once found
  std::uint32_t lastError_ = 0;
};

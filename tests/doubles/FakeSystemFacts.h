#pragma once
// Doubles of the system-metrics, memory, drive and power services.
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/MemoryStatus.h"
#include "platform/PowerPolicy.h"
#include "platform/SystemMetrics.h"

class FakeSystemMetrics final : public ISystemMetrics {
 public:
  std::map<int, int> values;  // absent indices read 0
  int GetSystemMetrics(int index) override {
    const auto it = values.find(index);
    return it == values.end() ? 0 : it->second;
  }
};

class FakeMemoryStatus final : public IMemoryStatus {
 public:
  std::optional<std::uint32_t> basic;     // nullopt: entry point missing
  std::optional<std::uint64_t> extended;  // nullopt: missing or failing
  std::optional<std::uint32_t> GlobalMemoryStatus() override { return basic; }
  std::optional<std::uint64_t> GlobalMemoryStatusEx() override { return extended; }
};

// Drives by letter. A drive answers GetDiskFreeSpaceExA unless `exFails`,
// and GetDiskFreeSpaceA unless `clustersFail`.
class FakeDrives final : public IDrives {
 public:
  struct Drive {
    std::uint32_t type = kDriveFixed;
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;       // total free
    std::uint64_t availableBytes = 0;  // free under the caller's quota
    DiskClusters clusters;
    bool exFails = false;
    bool clustersFail = false;
  };
  std::map<char, Drive> drives;
  bool hasEx = true;

  std::uint32_t GetLogicalDrives() override {
    std::uint32_t mask = 0;
    for (const auto& [letter, drive] : drives) mask |= 1u << (letter - 'A');
    return mask;
  }
  std::uint32_t GetDriveType(const std::string& root) override {
    const Drive* drive = Find(root);
    return drive ? drive->type : 1;  // DRIVE_NO_ROOT_DIR
  }
  bool HasDiskFreeSpaceEx() override { return hasEx; }
  bool GetDiskFreeSpaceEx(const std::string& root, std::uint64_t* available, std::uint64_t* total,
                          std::uint64_t* totalFree) override {
    const Drive* drive = Find(root);
    if (!hasEx || !drive || drive->exFails) return false;
    if (available) *available = drive->availableBytes;
    if (total) *total = drive->totalBytes;
    if (totalFree) *totalFree = drive->freeBytes;
    return true;
  }
  bool GetDiskFreeSpace(const std::string& root, DiskClusters& out) override {
    const Drive* drive = Find(root);
    if (!drive || drive->clustersFail) return false;
    out = drive->clusters;
    return true;
  }

 private:
  const Drive* Find(const std::string& root) const {
    if (root.size() != 3 || root.substr(1) != ":\\") return nullptr;
    const auto it = drives.find(root[0]);
    return it == drives.end() ? nullptr : &it->second;
  }
};

class FakePowerPolicy final : public IPowerPolicy {
 public:
  std::optional<PowerPolicySnapshot> policy;  // nullopt: the call fails
  std::uint32_t lastError = 0;

  // "refused ERROR", or the POWER_POLICY fields in PowerPolicySnapshot order.
  void Set(const std::string& text) {
    std::istringstream in(text);
    std::string refused;
    policy.reset();
    if (text.find("refused") != std::string::npos) {
      in >> refused >> lastError;
      return;
    }
    PowerPolicySnapshot& p = policy.emplace();
    for (std::uint32_t* field :
         {&p.IdleActionAc, &p.IdleActionDc, &p.IdleTimeoutAc, &p.IdleTimeoutDc, &p.VideoTimeoutAc,
          &p.VideoTimeoutDc, &p.SpindownTimeoutAc, &p.SpindownTimeoutDc, &p.DozeS4TimeoutAc,
          &p.DozeS4TimeoutDc})
      in >> *field;
  }
  bool GetCurrentPowerPolicies(PowerPolicySnapshot& out) override {
    if (!policy) return false;
    out = *policy;
    return true;
  }
  std::uint32_t GetLastError() override { return lastError; }
};

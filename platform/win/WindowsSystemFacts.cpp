#include "platform/win/WindowsSystemFacts.h"

#include "platform/win/Handles.h"
#include "platform/win/Windows.h"
// After windows.h:
#include <powrprof.h>

namespace {

// An export of the already loaded kernel32, or null. The module handle is
// neither loaded again nor released.
template <typename Function>
Function KernelEntry(const char* name) {
  const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (!kernel) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel, name)));
}

using GlobalMemoryStatusFn = VOID(WINAPI*)(LPMEMORYSTATUS);
using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                           PULARGE_INTEGER);
using GetCurrentPowerPoliciesFn = BOOLEAN(WINAPI*)(PGLOBAL_POWER_POLICY, PPOWER_POLICY);

}  // namespace

int WindowsSystemMetrics::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

std::optional<std::uint32_t> WindowsMemoryStatus::GlobalMemoryStatus() {
  const auto entry = KernelEntry<GlobalMemoryStatusFn>("GlobalMemoryStatus");
  if (!entry) return std::nullopt;
  MEMORYSTATUS status{};
  entry(&status);
  return static_cast<std::uint32_t>(status.dwTotalPhys);
}

std::optional<std::uint64_t> WindowsMemoryStatus::GlobalMemoryStatusEx() {
  const auto entry = KernelEntry<GlobalMemoryStatusExFn>("GlobalMemoryStatusEx");
  if (!entry) return std::nullopt;
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!entry(&status)) return std::nullopt;
  return status.ullTotalPhys;
}

std::uint32_t WindowsDrives::GetLogicalDrives() { return ::GetLogicalDrives(); }

std::uint32_t WindowsDrives::GetDriveType(const std::string& root) {
  return ::GetDriveTypeA(root.c_str());
}

bool WindowsDrives::HasDiskFreeSpaceEx() {
  return KernelEntry<GetDiskFreeSpaceExFn>("GetDiskFreeSpaceExA") != nullptr;
}

bool WindowsDrives::GetDiskFreeSpaceEx(const std::string& root, std::uint64_t* availableToCaller,
                                       std::uint64_t* totalBytes, std::uint64_t* totalFreeBytes) {
  const auto entry = KernelEntry<GetDiskFreeSpaceExFn>("GetDiskFreeSpaceExA");
  if (!entry) return false;
  ULARGE_INTEGER available{}, total{}, free{};
  if (!entry(root.c_str(), availableToCaller ? &available : nullptr, totalBytes ? &total : nullptr,
             totalFreeBytes ? &free : nullptr))
    return false;
  if (availableToCaller) *availableToCaller = available.QuadPart;
  if (totalBytes) *totalBytes = total.QuadPart;
  if (totalFreeBytes) *totalFreeBytes = free.QuadPart;
  return true;
}

bool WindowsDrives::GetDiskFreeSpace(const std::string& root, DiskClusters& out) {
  DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
  if (!::GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &totalClusters))
    return false;
  out = {sectors, bytes, freeClusters, totalClusters};
  return true;
}

bool WindowsPowerPolicy::GetCurrentPowerPolicies(PowerPolicySnapshot& policy) {
  if (!entry_) {
    UniqueLibrary library(::LoadLibraryA(library_));
    if (!library) {
      lastError_ = ::GetLastError();
      return false;
    }
    entry_ = reinterpret_cast<void (*)()>(
        reinterpret_cast<void*>(::GetProcAddress(library.Get(), "GetCurrentPowerPolicies")));
    if (!entry_) {
      lastError_ = ::GetLastError();
      return false;
    }
    library.Release();  // see the class
  }
  const auto entry = reinterpret_cast<GetCurrentPowerPoliciesFn>(entry_);
  POWER_POLICY current{};
  const bool read = entry(nullptr, &current) != FALSE;
  lastError_ = ::GetLastError();
  if (!read) return false;
  policy.IdleActionAc = current.user.IdleAc.Action;
  policy.IdleActionDc = current.user.IdleDc.Action;
  policy.IdleTimeoutAc = current.user.IdleTimeoutAc;
  policy.IdleTimeoutDc = current.user.IdleTimeoutDc;
  policy.VideoTimeoutAc = current.user.VideoTimeoutAc;
  policy.VideoTimeoutDc = current.user.VideoTimeoutDc;
  policy.SpindownTimeoutAc = current.user.SpindownTimeoutAc;
  policy.SpindownTimeoutDc = current.user.SpindownTimeoutDc;
  policy.DozeS4TimeoutAc = current.mach.DozeS4TimeoutAc;
  policy.DozeS4TimeoutDc = current.mach.DozeS4TimeoutDc;
  return true;
}

std::uint32_t WindowsPowerPolicy::GetLastError() { return lastError_; }

#include "platform/MemoryStatus.h"
#include "platform/SystemFacts.h"
#include "platform/VersionInfo.h"

std::uint64_t GetTotalPhysicalMemory(IVersionInfo& version, IMemoryStatus& memory) {
  if (IsNtFamily(version.GetVersion())) {
    if (const auto total = memory.GlobalMemoryStatusEx()) return *total;
  }
  if (const auto total = memory.GlobalMemoryStatus()) return *total;
  return 0;
}

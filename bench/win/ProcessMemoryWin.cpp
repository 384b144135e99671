// clang-format off
#include "platform/win/Windows.h"
#include <psapi.h>
// clang-format on

#include "bench/common/ProcessMemory.h"

ProcessMemory ReadProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ProcessMemory memory;
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
    memory.workingSet = counters.WorkingSetSize;
    memory.peakWorkingSet = counters.PeakWorkingSetSize;
    memory.privateBytes = counters.PagefileUsage;
  }
  return memory;
}

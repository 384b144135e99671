#include <fstream>
#include <string>

#include "bench/common/ProcessMemory.h"

// /proc/self/status gives VmRSS, VmHWM and VmData in kB.
ProcessMemory ReadProcessMemory() {
  ProcessMemory memory;
  std::ifstream status("/proc/self/status");
  std::string key;
  std::uint64_t kb = 0;
  while (status >> key) {
    if (key == "VmRSS:" && status >> kb) memory.workingSet = kb * 1024;
    if (key == "VmHWM:" && status >> kb) memory.peakWorkingSet = kb * 1024;
    if (key == "VmData:" && status >> kb) memory.privateBytes = kb * 1024;
  }
  return memory;
}

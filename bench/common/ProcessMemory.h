#pragma once
#include <cstdint>

// The process's memory as the system reports it, in bytes; 0 when unknown.
struct ProcessMemory {
  std::uint64_t workingSet = 0;      // resident now
  std::uint64_t peakWorkingSet = 0;  // highest resident so far
  std::uint64_t privateBytes = 0;    // committed (Windows) or data segment (host)
};

ProcessMemory ReadProcessMemory();

#pragma once
#include <cstdint>
#include <string>

// Device identification registers; DIR0 0xFE stands for a part where only
// CCR2 is writable, 0xFD for one where neither CCR2 nor CCR3 is (DIR1 1).
struct CyrixDir {
  std::uint8_t dir0 = 0xFF;
  std::uint8_t dir1 = 0;
};

// Name of a part without CPUID, from DIR0 and DIR1.
std::string CyrixNameFromDir(const CyrixDir& dir);

// The canonical text that `name` equals ignoring letter case; null if none.
const char* CanonicalCyrixName(const std::string& name);

// Core class from DIR0 (1 to 5, else 0), and its instruction timings.
int CyrixCoreClass(std::uint8_t dir0);
struct CyrixTimings {
  unsigned divideCycles;
  unsigned loopCycles;
};
CyrixTimings CyrixTimingsForClass(int coreClass);

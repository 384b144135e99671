#include "cpu/CyrixNames.h"

#include "cpu/CpuVendor.h"

namespace {

enum class DirRule {
  kName,        // `name`
  kIndexed,     // `names[DIR0 - first]`
  kByDir1Max,   // DIR1 at most 0x21: `name`; above: `other`
  kByDir1High,  // upper nibble of DIR1 equal to 3: `other`; else `name`
};

struct DirRow {
  unsigned first, last;
  DirRule rule;
  const char* name;
  const char* other;
  const char* const* names;
};

constexpr const char* kCx486Early[] = {"Cx486SLC(tm)",  "Cx486DLC(tm)", "Cx486SLC2(tm)",
                                       "Cx486DLC2(tm)", "Cx486SRx(tm)", "Cx486DRx(tm)",
                                       "Cx486SRx2(tm)", "Cx486DRx2(tm)"};
constexpr const char* kCx486S[] = {"Cx486S(tm)", "Cx486S2(tm)", "Cx486Se(tm)", "Cx486S2e(tm)"};

constexpr DirRow kDir0Names[] = {
    // DIR0         rule                name                         other         names
    {0x00, 0x07, DirRule::kIndexed, nullptr, nullptr, kCx486Early},
    {0x10, 0x13, DirRule::kIndexed, nullptr, nullptr, kCx486S},
    {0x1A, 0x1A, DirRule::kName, "Cx486DX(tm)", nullptr, nullptr},
    {0x1B, 0x1B, DirRule::kName, "Cx486DX2(tm)", nullptr, nullptr},
    {0x1F, 0x1F, DirRule::kName, "Cx486DX4(tm)", nullptr, nullptr},
    {0x28, 0x2F, DirRule::kName, "5x86(tm)", nullptr, nullptr},
    {0x30, 0x37, DirRule::kByDir1Max, "6x86(tm)", "6x86L(tm)", nullptr},
    {0x40, 0x47, DirRule::kByDir1High, "MediaGX(tm)", "GXm(tm)", nullptr},
    {0x50, 0x5F, DirRule::kName, "6x86MX(tm)", nullptr, nullptr},
    {0xFD, 0xFD, DirRule::kName, "Cx486SLC/DLC(tm)", nullptr, nullptr},
    {0xFE, 0xFE, DirRule::kName, "Cx486Sa(tm)", nullptr, nullptr},
    {0xFF, 0xFF, DirRule::kName, "UNKNOWN CPU Manufacturer", nullptr, nullptr},
};

constexpr const char* kCanonicalNames[] = {
    "Cx486SLC(tm)", "Cx486DLC(tm)",  "Cx486SLC2(tm)", "Cx486DLC2(tm)", "Cx486SRx(tm)",
    "Cx486DRx(tm)", "Cx486SRx2(tm)", "Cx486DRx2(tm)", "Cx486S(tm)",    "Cx486S2(tm)",
    "Cx486Se(tm)",  "Cx486S2e(tm)",  "Cx486DX(tm)",   "Cx486DX2(tm)",  "Cx486SLC/DLC(tm)",
    "Cx486Sa(tm)",  "Cx486DX4(tm)",  "5x86(tm)",      "6x86(tm)",      "6x86L(tm)",
    "6x86MX(tm)",   "MediaGX(tm)",   "GXm(tm)",
};

struct CoreClassRow {
  unsigned first, last;
  int coreClass;
};

constexpr CoreClassRow kCoreClasses[] = {
    // DIR0        class
    {0x1A, 0x1B, 1}, {0x1F, 0x1F, 1}, {0xFF, 0xFF, 1}, {0x28, 0x2F, 2},
    {0x40, 0x47, 3}, {0x30, 0x37, 4}, {0x50, 0x5F, 5},
};

// Clock cycles of one signed divide and one LOOP, by core class 0 to 5.
constexpr CyrixTimings kTimings[] = {{46, 7}, {40, 8}, {45, 2}, {45, 2}, {17, 1}, {17, 1}};

}  // namespace

std::string CyrixNameFromDir(const CyrixDir& dir) {
  for (const DirRow& row : kDir0Names) {
    if (dir.dir0 < row.first || dir.dir0 > row.last) continue;
    switch (row.rule) {
      case DirRule::kName:
        return row.name;
      case DirRule::kIndexed:
        return row.names[dir.dir0 - row.first];
      case DirRule::kByDir1Max:
        return dir.dir1 <= 0x21 ? row.name : row.other;
      case DirRule::kByDir1High:
        return (dir.dir1 >> 4) == 3 ? row.other : row.name;
    }
  }
  return "Unknown Cyrix CPU";
}

const char* CanonicalCyrixName(const std::string& name) {
  for (const char* canonical : kCanonicalNames) {
    if (EqualsIgnoringCase(name.c_str(), canonical)) return canonical;
  }
  return nullptr;
}

int CyrixCoreClass(std::uint8_t dir0) {
  for (const CoreClassRow& row : kCoreClasses) {
    if (row.first <= dir0 && dir0 <= row.last) return row.coreClass;
  }
  return 0;
}

CyrixTimings CyrixTimingsForClass(int coreClass) {
  return (coreClass >= 1 && coreClass <= 5) ? kTimings[coreClass] : kTimings[0];
}

#include "cpu/IntelNames.h"

#include <algorithm>

namespace {

constexpr char kUnknown[] = "Unknown Processor";  // OverDrive fallback
constexpr char kUnkown[] = "Unkown Processor";    // brand-decoding fallback, spelled so

struct OverDriveRow {
  unsigned family, modelFirst, modelLast;
  const char* name;
};

constexpr OverDriveRow kOverDriveNames[] = {
    // family  models  name
    {4, 8, 8, "486 DX4"},
    {5, 1, 3, "Pentium"},
    {5, 4, 4, "Pentium MMX"},
    {6, 3, 3, "Pentium II"},
};

enum class ModelRule {
  kName,        // `name`
  kByCache,     // cache class 1: `ifClass1`; 2: `ifClass2`; else `name`
  kByStepping,  // stepping 10 to 13: `ifClass2`; else `name`
  kByBrand,     // brand decoding
};

struct ModelRow {
  unsigned familyFirst, familyLast, modelFirst, modelLast;
  ModelRule rule;
  const char* name;
  const char* ifClass1;
  const char* ifClass2;
};

// First matching row wins.
constexpr ModelRow kModelNames[] = {
    // family  models   rule                   name / otherwise   class 1    class 2 / stepping
    {4, 4, 0, 1, ModelRule::kName, "486 DX", nullptr, nullptr},
    {4, 4, 2, 2, ModelRule::kName, "486 SX", nullptr, nullptr},
    {4, 4, 3, 3, ModelRule::kName, "486 DX2", nullptr, nullptr},
    {4, 4, 7, 7, ModelRule::kName, "486 DX2", nullptr, nullptr},
    {4, 4, 5, 5, ModelRule::kName, "486 SX2", nullptr, nullptr},
    {4, 4, 8, 8, ModelRule::kName, "486 DX4", nullptr, nullptr},
    {4, 4, 4, 4, ModelRule::kName, "486", nullptr, nullptr},
    {4, 4, 6, 6, ModelRule::kName, "486", nullptr, nullptr},
    {4, 4, 9, 15, ModelRule::kName, "486", nullptr, nullptr},
    {5, 5, 4, 4, ModelRule::kName, "Pentium MMX", nullptr, nullptr},
    {5, 5, 0, 15, ModelRule::kName, "Pentium", nullptr, nullptr},
    {6, 6, 1, 1, ModelRule::kName, "Pentium Pro", nullptr, nullptr},
    {6, 6, 3, 3, ModelRule::kName, "Pentium II", nullptr, nullptr},
    {6, 6, 5, 5, ModelRule::kByCache, "Pentium II", "Celeron", "Pentium II Xeon"},
    {6, 6, 6, 6, ModelRule::kByStepping, "Celeron", nullptr, "Pentium II"},
    {6, 6, 7, 7, ModelRule::kByCache, "Pentium III", "Celeron", "Pentium III Xeon"},
    {0, 15, 0, 15, ModelRule::kByBrand, nullptr, nullptr, nullptr},
};

enum class BrandRule {
  kName,         // `name`
  kByModel,      // family `family`, models in range: `name`; else `otherwise`
  kByNameClass,  // registry name class, 0 giving "Pentium 4"
  kIndexZero,    // late parts that report no brand index
  kPentiumM,     // brand 22
};

struct BrandRow {
  unsigned first, last;
  BrandRule rule;
  unsigned family, modelFirst, modelLast;
  const char* name;
  const char* otherwise;
};

constexpr BrandRow kBrandNames[] = {
    // brands  rule                 family models  name                  otherwise
    {0, 0, BrandRule::kIndexZero, 0, 0, 0, nullptr, nullptr},
    {1, 1, BrandRule::kName, 0, 0, 0, "Celeron", nullptr},
    {10, 10, BrandRule::kName, 0, 0, 0, "Celeron", nullptr},
    {2, 2, BrandRule::kName, 0, 0, 0, "Pentium III", nullptr},
    {4, 4, BrandRule::kName, 0, 0, 0, "Pentium III", nullptr},
    {3, 3, BrandRule::kByModel, 6, 11, 11, "Celeron", "Pentium III Xeon"},
    {6, 6, BrandRule::kName, 0, 0, 0, "Mobile Pentium III", nullptr},
    {7, 7, BrandRule::kName, 0, 0, 0, "Mobile Celeron", nullptr},
    {8, 9, BrandRule::kByModel, 15, 0, 2, "Pentium 4", kUnkown},
    {11, 11, BrandRule::kByNameClass, 0, 0, 0, nullptr, nullptr},
    {12, 12, BrandRule::kName, 0, 0, 0, "Xeon", nullptr},
    {14, 14, BrandRule::kByModel, 15, 2, 2, "Mobile Pentium 4", "Xeon"},
    {15, 15, BrandRule::kByModel, 15, 2, 2, "Mobile Pentium 4", kUnkown},
    {22, 22, BrandRule::kPentiumM, 6, 9, 9, nullptr, kUnkown},
};

// Names by class 1, 2, 3 of the registry name and of the cache.
constexpr const char* kByNameClass[] = {nullptr, "Celeron", "Xeon", "Pentium 4"};
constexpr const char* kByCacheClass[] = {"Pentium 4", "Celeron", "Xeon"};

bool InRange(unsigned value, unsigned first, unsigned last) {
  return first <= value && value <= last;
}

std::string NameForBrandZero(const CpuSignature& s, const IntelNamingFacts& facts) {
  const bool lateModel = (s.family == 6 && s.model == 14 && s.stepping == 8) ||
                         (s.family == 15 && InRange(s.model, 3, 4));
  if (!lateModel) return {};
  if (facts.nameClass >= 1 && facts.nameClass <= 3) return kByNameClass[facts.nameClass];
  const int c = (facts.cacheClass == 1 || facts.cacheClass == 2) ? facts.cacheClass : 0;
  return kByCacheClass[c];
}

}  // namespace

std::string OverDriveName(const CpuSignature& s) {
  for (const OverDriveRow& row : kOverDriveNames) {
    if (s.family == row.family && InRange(s.model, row.modelFirst, row.modelLast)) return row.name;
  }
  return kUnknown;
}

std::string CCPUInfo::GetName(const CpuSignature& s, const IntelNamingFacts& facts) const {
  for (const ModelRow& row : kModelNames) {
    if (!InRange(s.family, row.familyFirst, row.familyLast) ||
        !InRange(s.model, row.modelFirst, row.modelLast)) {
      continue;
    }
    switch (row.rule) {
      case ModelRule::kName:
        return row.name;
      case ModelRule::kByCache:
        if (facts.cacheClass == 1) return row.ifClass1;
        if (facts.cacheClass == 2) return row.ifClass2;
        return row.name;
      case ModelRule::kByStepping:
        return InRange(s.stepping, 10, 13) ? row.ifClass2 : row.name;
      case ModelRule::kByBrand:
        return DecodeBrand(s, facts);
    }
  }
  return {};
}

std::string CCPUInfo::DecodeBrand(const CpuSignature& s, const IntelNamingFacts& facts) const {
  for (const BrandRow& row : kBrandNames) {
    if (!InRange(facts.brandIndex, row.first, row.last)) continue;
    const bool modelMatches =
        s.family == row.family && InRange(s.model, row.modelFirst, row.modelLast);
    switch (row.rule) {
      case BrandRule::kName:
        return row.name;
      case BrandRule::kByModel:
        return modelMatches ? row.name : row.otherwise;
      case BrandRule::kByNameClass:
        return facts.nameClass >= 1 && facts.nameClass <= 3 ? kByNameClass[facts.nameClass]
                                                            : "Pentium 4";
      case BrandRule::kIndexZero:
        return NameForBrandZero(s, facts);
      case BrandRule::kPentiumM:
        if (!modelMatches) return row.otherwise;
        return facts.leaf1IsPentiumM ? "Mobile Pentium M (Centrino)" : "Mobile Pentium M";
    }
  }
  return kUnkown;
}

int CacheClassFromDescriptors(std::uint32_t eax, std::uint32_t ebx, std::uint32_t ecx,
                              std::uint32_t edx) {
  std::uint8_t bytes[15];
  int n = 0;
  for (int i = 1; i < 4; ++i) bytes[n++] = static_cast<std::uint8_t>(eax >> (8 * i));
  for (std::uint32_t reg : {ebx, ecx, edx}) {
    for (int i = 0; i < 4; ++i) bytes[n++] = static_cast<std::uint8_t>(reg >> (8 * i));
  }
  const auto has = [&](std::uint8_t d) { return std::find(bytes, bytes + n, d) != bytes + n; };
  if (has(0x40)) return 1;
  if (has(0x44) || has(0x45)) return 2;
  return 0;
}

int NameClassFromProcessorName(const std::string& name) {
  std::string lower = name;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lower.find("celeron") != std::string::npos) return 1;
  if (lower.find("xeon") != std::string::npos) return 2;
  if (lower.find("pentium") != std::string::npos) return 3;
  return 0;
}

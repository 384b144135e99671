#pragma once
#include <cstdint>

// The Windows family whose device keys a registry walk searches.
enum class OsFamily { None, Win9x, Nt4, Xp, Nt5 };

struct OsFamilyRow {
  std::int32_t first;  // edition codes first..last
  std::int32_t last;
  OsFamily family;
};

// Edition codes by family; codes in no row belong to no family. The XP
// codes form their own family only for the display adapter walk; the
// other walks treat them as NT 5 and later.
inline constexpr OsFamilyRow kOsFamilies[] = {
    // first  last  family
    {3000, 3001, OsFamily::Nt5}, {3002, 3002, OsFamily::Nt4}, {3003, 3006, OsFamily::Win9x},
    {3007, 3009, OsFamily::Xp},  {3011, 3012, OsFamily::Nt4}, {3013, 3013, OsFamily::Nt5},
    {3014, 3015, OsFamily::Nt4}, {3016, 3016, OsFamily::Nt5}, {3017, 3017, OsFamily::Xp},
    {3018, 3028, OsFamily::Nt5},
};

constexpr OsFamily FamilyOf(std::int32_t code) {
  for (const OsFamilyRow& row : kOsFamilies)
    if (code >= row.first && code <= row.last) return row.family;
  return OsFamily::None;
}

// For the walks that do not tell XP apart.
constexpr OsFamily FamilyWithXpAsNt5(std::int32_t code) {
  const OsFamily family = FamilyOf(code);
  return family == OsFamily::Xp ? OsFamily::Nt5 : family;
}

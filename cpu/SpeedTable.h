#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

// One line of a vendor's speed table, in MHz; both ends inclusive.
struct SpeedRange {
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::uint32_t nominal = 0;
};

// "cpuinfo.ini" in the directory of the host executable.
std::string SpeedTablePath(const Platform& platform);

// The speed-section name that the mapping section "[CPU_INFO]" gives for
// `vendorKey`; empty when there is none. Only lines from the first
// "[CPU_INFO]" header on count; the name is the line's tail after the key.
std::string FindSpeedSection(const std::vector<std::string>& lines, const std::string& vendorKey);

// The vendor's ranges in file order; empty when the file, its mapping line
// or its ranges are missing. Ranges beyond kMaxSpeedRanges are ignored.
inline constexpr int kMaxSpeedRanges = 4096;
std::vector<SpeedRange> LoadSpeedTable(const Platform& platform, const std::string& vendorKey);

// The nominal speed of the first range holding `measured`, else `measured`.
std::uint32_t SnapToNominalSpeed(const Platform& platform, std::uint32_t measured,
                                 const char* vendorKey);

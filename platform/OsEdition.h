#pragma once
#include <cstdint>
#include <string>

class IVersionInfo;
class ISystemMetrics;
class IRegistry;

inline constexpr std::int32_t kFirstOsEditionCode = 3000;
inline constexpr std::int32_t kLastOsEditionCode = 3028;
inline constexpr std::int32_t kUnknownWindows = 3010;

// Reduces the running system's version facts to an edition code (3000 to
// 3028). Returns 0; returns -1 after writing 3010 when neither version
// structure can be read. Where no rule names an edition, `code` keeps the
// value it had on entry.
int GetOsEditionCode(IVersionInfo& version, ISystemMetrics& metrics, IRegistry& registry,
                     std::int32_t& code);

// Copies the edition name of `code` into `name` and returns 1; a code
// outside 3000..3028 returns 0 and leaves `name` untouched.
int GetOsEditionName(std::int32_t code, std::string& name);

#pragma once
#include <cstdint>

// The fields of OSVERSIONINFOEXA that callers read. Reading with the
// 148-byte basic structure fills everything up to szCSDVersion; the
// extended fields then stay zero.
struct OsVersionInfo {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  char csdVersion[128] = {};
  std::uint16_t servicePackMajor = 0;
  std::uint16_t servicePackMinor = 0;
  std::uint16_t suiteMask = 0;
  std::uint8_t productType = 0;
};

inline constexpr std::uint32_t kOsVersionInfoExSize = 156;
inline constexpr std::uint32_t kOsVersionInfoSize = 148;

// Version information of the running system.
class IVersionInfo {
 public:
  virtual ~IVersionInfo() = default;
  // The packed value of GetVersion: bit 31 set on the Windows 95 family.
  virtual std::uint32_t GetVersion() = 0;
  // GetVersionExA with the given structure size (156 or 148). On failure
  // returns false and leaves `info` untouched.
  virtual bool GetVersionEx(std::uint32_t structSize, OsVersionInfo& info) = 0;
};

constexpr bool IsNtFamily(std::uint32_t version) { return version < 0x80000000u; }

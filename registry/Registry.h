#pragma once
#include <cstdint>
#include <string>

// Raw registry access under HKEY_LOCAL_MACHINE, with the results of the
// Windows calls (0 is success; 2 not found, 5 access denied, 234 more data,
// 259 no more items). On failure outputs are left untouched.
class IRegistry {
 public:
  using Key = std::uintptr_t;

  static constexpr long kSuccess = 0;
  static constexpr long kFileNotFound = 2;
  static constexpr long kAccessDenied = 5;
  static constexpr long kMoreData = 234;
  static constexpr long kNoMoreItems = 259;

  virtual ~IRegistry() = default;
  // RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ).
  virtual long OpenKey(const std::string& path, Key& key) = 0;
  // RegQueryValueExA: `size` is the buffer size in, the bytes stored (or
  // needed, with kMoreData) out. Data exactly filling the buffer succeed.
  virtual long QueryValue(Key key, const std::string& name, void* data, std::uint32_t& size,
                          std::uint32_t& type) = 0;
  // RegQueryInfoKeyA, subkey count only.
  virtual long QuerySubKeyCount(Key key, std::uint32_t& count) = 0;
  // RegEnumKeyExA: `size` is the name buffer size in, the name length
  // (without terminator) out. Subkeys come in sorted order.
  virtual long EnumSubKey(Key key, std::uint32_t index, char* name, std::uint32_t& size) = 0;
  virtual void CloseKey(Key key) = 0;
};

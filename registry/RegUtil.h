#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "registry/Registry.h"

// Reads values and subkeys under HKEY_LOCAL_MACHINE, every key opened for
// reading only. Each operation reports 1 for success and 0 for failure; the
// Windows error behind a failure is not passed on, and no operation throws.
class CRegUtil {
 public:
  // Subkey names are handed back in buffers of this size.
  static constexpr std::size_t kNameSize = 512;

  explicit CRegUtil(IRegistry& registry) : registry_(registry) {}
  virtual ~CRegUtil() = default;
  CRegUtil(const CRegUtil&) = delete;
  CRegUtil& operator=(const CRegUtil&) = delete;

  // Reads `valueName` of `keyPath` into `data` (`size` bytes). 1 only when
  // the whole value fitted; the type and length are not reported. The data
  // are not forced into text: a caller reading text zero-fills the buffer
  // and keeps a terminator beyond `size`.
  int ReadValue(const std::string& keyPath, const std::string& valueName, void* data,
                std::uint32_t size, std::uint32_t type);
  // As ReadValue; on success `size` holds the bytes stored and `type` the
  // registry type.
  int ReadValueEx(const std::string& keyPath, const std::string& valueName, void* data,
                  std::uint32_t& size, std::uint32_t& type);
  // 1 when the key can be opened for reading (it is closed again at once).
  int KeyExists(const std::string& keyPath);
  // Takes ownership of `key` and closes it whatever the outcome. 1 with
  // the number of direct subkeys; 0 with `count` untouched.
  int GetSubKeyCount(IRegistry::Key key, std::uint32_t& count);
  // Takes ownership of `key` and closes it whatever the outcome. 1 with the
  // name of the subkey at `index`; 0 with `name` untouched.
  int GetSubKeyName(IRegistry::Key key, std::uint32_t index, char (&name)[kNameSize]);

 private:
  IRegistry& registry_;
};

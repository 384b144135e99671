#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "registry/RegUtil.h"

// The registry steps every device walk is built from. Each key is opened
// anew for every count and name lookup, since CRegUtil closes the key it
// is given; any failure reads as "nothing here" and skips the candidate.
class KeyWalker {
 public:
  // Key paths and value data live in buffers of this size.
  static constexpr std::size_t kBufferSize = 512;

  explicit KeyWalker(IRegistry& registry) : registry_(registry), util_(registry) {}

  // `parent\child`, or nullopt when it would not fit a key path buffer.
  static std::optional<std::string> Join(const std::string& parent, const std::string& child);

  // Counts the subkeys of `path`, then calls `visit` with `path\<subkey>`
  // for each index in order (an index whose name cannot be read is
  // skipped) until `visit` returns false. False when the key cannot be
  // opened or counted, true otherwise (no subkeys included).
  template <typename Visit>
  bool ForEachSubKey(const std::string& path, Visit visit) {
    const auto count = CountSubKeys(path);
    if (!count) return false;
    for (std::uint32_t i = 0; i < *count; ++i) {
      const auto child = SubKeyPath(path, i);
      if (child && !visit(*child)) break;
    }
    return true;
  }
  // `parent\<subkey at index>`, or nullopt when either step fails.
  std::optional<std::string> SubKeyPath(const std::string& path, std::uint32_t index);
  // The text of a value; nullopt when it cannot be read whole.
  std::optional<std::string> ReadText(const std::string& path, const char* valueName);
  // Whether the value, upper-cased, is exactly `expected`.
  bool ValueIs(const std::string& path, const char* valueName, const char* expected);
  // Whether `path\Control` exists: the device is present.
  bool IsPresent(const std::string& path);

 private:
  // The number of direct subkeys; nullopt when the key cannot be opened or
  // counted.
  std::optional<std::uint32_t> CountSubKeys(const std::string& path);
  // The name of the subkey at `index`; nullopt on failure.
  std::optional<std::string> SubKeyName(const std::string& path, std::uint32_t index);

  IRegistry& registry_;
  CRegUtil util_;
};

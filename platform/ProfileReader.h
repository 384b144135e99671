#pragma once
#include <optional>
#include <string>
#include <vector>

// Text configuration files, by ANSI path.
class IProfileReader {
 public:
  virtual ~IProfileReader() = default;
  // Opens the file in text mode for reading only and returns its lines
  // without line ends; nothing when it cannot be opened.
  virtual std::optional<std::vector<std::string>> ReadLines(const std::string& path) = 0;
  // GetPrivateProfileIntA: the key's value in the section, `defaultValue`
  // when the file, section or key is missing.
  virtual unsigned ReadProfileInt(const std::string& section, const std::string& key,
                                  int defaultValue, const std::string& path) = 0;
};

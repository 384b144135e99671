#include "doubles/ProcessorDoubles.h"

#include <cstdlib>
#include <fstream>

#include "doubles/FakePlatform.h"
#include "wmi/PropertyForms.h"

namespace {

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::vector<std::string>> HostProfileReader::ReadLines(const std::string& path) {
  std::ifstream file(HostFileSystem::ToPosix(path));  // read access only
  if (!file) return std::nullopt;
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // text mode
    lines.push_back(line);
  }
  return lines;
}

unsigned HostProfileReader::ReadProfileInt(const std::string& section, const std::string& key,
                                           int defaultValue, const std::string& path) {
  bool inSection = false;
  for (const std::string& raw : ReadLines(path).value_or(std::vector<std::string>{})) {
    const std::string line = Trim(raw);
    const std::size_t close = line.find(']');
    const std::size_t equals = line.find('=');
    if (!line.empty() && line[0] == '[') {
      inSection =
          close != std::string::npos && EqualsNoCase(Trim(line.substr(1, close - 1)), section);
    } else if (inSection && equals != std::string::npos &&
               EqualsNoCase(Trim(line.substr(0, equals)), key)) {
      return static_cast<unsigned>(std::strtol(line.c_str() + equals + 1, nullptr, 10));
    }
  }
  return static_cast<unsigned>(defaultValue);
}

#include "doubles/ProcessorDoubles.h"

#include <cstdlib>
#include <fstream>

#include "doubles/FakePlatform.h"

namespace {

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::vector<std::string>> HostProfileReader::ReadLines(const std::string& path) {
  std::ifstream file(HostFileSystem::ToPosix(path));  // read access only
  if (!file) return std::nullopt;
  ++opens;
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // text mode
    lines.push_back(line);
  }
  return lines;
}

unsigned HostProfileReader::ReadProfileInt(const std::string& section, const std::string& key,
                                           int defaultValue, const std::string& path) {
  const auto lines = ReadLines(path);
  if (!lines) return static_cast<unsigned>(defaultValue);
  bool inSection = false;
  for (const std::string& raw : *lines) {
    const std::string line = Trim(raw);
    if (!line.empty() && line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection =
          close != std::string::npos && SameIgnoringCase(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos ||
        !SameIgnoringCase(Trim(line.substr(0, equals)), key)) {
      continue;
    }
    return static_cast<unsigned>(std::strtol(line.c_str() + equals + 1, nullptr, 10));
  }
  return static_cast<unsigned>(defaultValue);
}

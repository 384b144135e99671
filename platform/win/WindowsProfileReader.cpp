#include "platform/win/WindowsProfileReader.h"

#include <cstdio>
#include <memory>

#include "platform/win/Windows.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::optional<std::vector<std::string>> WindowsProfileReader::ReadLines(const std::string& path) {
  // Read access only: a read-only file must still be readable.
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
  if (!file) return std::nullopt;
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  char chunk[512];
  while (std::fgets(chunk, sizeof chunk, file.get())) {
    line += chunk;
    pending = true;
    if (!line.empty() && line.back() == '\n') {
      line.pop_back();
      lines.push_back(line);
      line.clear();
      pending = false;
    }
  }
  if (pending) lines.push_back(line);
  return lines;
}

unsigned WindowsProfileReader::ReadProfileInt(const std::string& section, const std::string& key,
                                              int defaultValue, const std::string& path) {
  return ::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path.c_str());
}

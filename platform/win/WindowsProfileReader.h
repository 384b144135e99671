#pragma once
#include "platform/ProfileReader.h"

// stdio text reading and GetPrivateProfileIntA.
class WindowsProfileReader final : public IProfileReader {
 public:
  std::optional<std::vector<std::string>> ReadLines(const std::string& path) override;
  unsigned ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& path) override;
};

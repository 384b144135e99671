#include "registry/RegUtil.h"

#include <cstring>

namespace {

// Closes a key on every path out of an operation.
class KeyCloser {
 public:
  KeyCloser(IRegistry& registry, IRegistry::Key key) : registry_(registry), key_(key) {}
  ~KeyCloser() { registry_.CloseKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  IRegistry& registry_;
  IRegistry::Key key_;
};

}  // namespace

int CRegUtil::ReadValue(const std::string& keyPath, const std::string& valueName, void* data,
                        std::uint32_t size, std::uint32_t type) {
  return ReadValueEx(keyPath, valueName, data, size, type);
}

int CRegUtil::ReadValueEx(const std::string& keyPath, const std::string& valueName, void* data,
                          std::uint32_t& size, std::uint32_t& type) {
  IRegistry::Key key = 0;
  if (registry_.OpenKey(keyPath, key) != IRegistry::kSuccess) return 0;
  const KeyCloser closer(registry_, key);
  return registry_.QueryValue(key, valueName, data, size, type) == IRegistry::kSuccess ? 1 : 0;
}

int CRegUtil::KeyExists(const std::string& keyPath) {
  IRegistry::Key key = 0;
  if (registry_.OpenKey(keyPath, key) != IRegistry::kSuccess) return 0;
  registry_.CloseKey(key);
  return 1;
}

int CRegUtil::GetSubKeyCount(IRegistry::Key key, std::uint32_t& count) {
  const KeyCloser closer(registry_, key);
  std::uint32_t found = 0;
  if (registry_.QuerySubKeyCount(key, found) != IRegistry::kSuccess) return 0;
  count = found;
  return 1;
}

int CRegUtil::GetSubKeyName(IRegistry::Key key, std::uint32_t index, char (&name)[kNameSize]) {
  const KeyCloser closer(registry_, key);
  char buffer[kNameSize + 1] = {};  // one spare byte keeps the copy terminated
  std::uint32_t size = kNameSize;
  if (registry_.EnumSubKey(key, index, buffer, size) != IRegistry::kSuccess) return 0;
  std::memcpy(name, buffer, kNameSize);
  name[kNameSize - 1] = '\0';
  return 1;
}

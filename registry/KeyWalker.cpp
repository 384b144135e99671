#include "registry/KeyWalker.h"

#include <cstring>

#include "registry/TextCompare.h"

std::optional<std::string> KeyWalker::Join(const std::string& parent, const std::string& child) {
  std::string path = parent + "\\" + child;
  if (path.size() + 1 > kBufferSize) return std::nullopt;
  return path;
}

std::optional<std::uint32_t> KeyWalker::CountSubKeys(const std::string& path) {
  IRegistry::Key key = 0;
  if (registry_.OpenKey(path, key) != IRegistry::kSuccess) return std::nullopt;
  std::uint32_t count = 0;
  if (util_.GetSubKeyCount(key, count) == 0) return std::nullopt;
  return count;
}

std::optional<std::string> KeyWalker::SubKeyName(const std::string& path, std::uint32_t index) {
  IRegistry::Key key = 0;
  if (registry_.OpenKey(path, key) != IRegistry::kSuccess) return std::nullopt;
  char name[CRegUtil::kNameSize] = {};
  if (util_.GetSubKeyName(key, index, name) == 0) return std::nullopt;
  return std::string(name);
}

std::optional<std::string> KeyWalker::SubKeyPath(const std::string& path, std::uint32_t index) {
  const auto name = SubKeyName(path, index);
  return name ? Join(path, *name) : std::nullopt;
}

std::optional<std::string> KeyWalker::ReadText(const std::string& path, const char* valueName) {
  char data[kBufferSize + 1] = {};  // the spare byte terminates a full buffer
  std::uint32_t size = kBufferSize;
  std::uint32_t type = 0;
  if (util_.ReadValueEx(path, valueName, data, size, type) == 0) return std::nullopt;
  return std::string(data);
}

bool KeyWalker::ValueIs(const std::string& path, const char* valueName, const char* expected) {
  char data[kBufferSize + 1] = {};
  std::uint32_t size = kBufferSize;
  std::uint32_t type = 0;
  if (util_.ReadValueEx(path, valueName, data, size, type) == 0) return false;
  UpperCaseInPlace(data);
  return std::strcmp(data, expected) == 0;
}

bool KeyWalker::IsPresent(const std::string& path) {
  const auto control = Join(path, "Control");
  return control && util_.KeyExists(*control) == 1;
}

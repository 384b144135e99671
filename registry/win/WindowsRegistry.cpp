#include "registry/win/WindowsRegistry.h"

#include "platform/win/Windows.h"

namespace {

HKEY ToHkey(IRegistry::Key key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

long WindowsRegistry::OpenKey(const std::string& path, Key& key) {
  HKEY opened = nullptr;
  const LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened);
  if (result == ERROR_SUCCESS) key = reinterpret_cast<Key>(opened);
  return result;
}

long WindowsRegistry::QueryValue(Key key, const std::string& name, void* data, std::uint32_t& size,
                                 std::uint32_t& type) {
  DWORD bytes = size;
  DWORD kind = 0;
  const LONG result = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &kind,
                                         static_cast<BYTE*>(data), &bytes);
  if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) size = bytes;
  if (result == ERROR_SUCCESS) type = kind;
  return result;
}

long WindowsRegistry::QuerySubKeyCount(Key key, std::uint32_t& count) {
  DWORD subKeys = 0;
  const LONG result = ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) count = subKeys;
  return result;
}

long WindowsRegistry::EnumSubKey(Key key, std::uint32_t index, char* name, std::uint32_t& size) {
  DWORD length = size;
  const LONG result =
      ::RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) size = length;
  return result;
}

void WindowsRegistry::CloseKey(Key key) { ::RegCloseKey(ToHkey(key)); }

#pragma once
#include "registry/Registry.h"

// The registry of the running system, under HKEY_LOCAL_MACHINE. A Key is
// the HKEY value.
class WindowsRegistry final : public IRegistry {
 public:
  long OpenKey(const std::string& path, Key& key) override;
  long QueryValue(Key key, const std::string& name, void* data, std::uint32_t& size,
                  std::uint32_t& type) override;
  long QuerySubKeyCount(Key key, std::uint32_t& count) override;
  long EnumSubKey(Key key, std::uint32_t index, char* name, std::uint32_t& size) override;
  void CloseKey(Key key) override;
};

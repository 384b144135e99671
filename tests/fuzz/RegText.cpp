// .reg text into the registry double, then every key reached through the
// registry reader: loading must never crash, and every walk must close
// every key it opened.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "doubles/FakeRegistry.h"
#include "registry/RegUtil.h"

namespace {

void Walk(FakeRegistry& registry, CRegUtil& util, const std::string& path, int depth) {
  util.KeyExists(path);
  char value[64] = {};
  util.ReadValue(path, "DeviceDesc", value, sizeof value - 1, 1);
  IRegistry::Key key = 0;
  if (depth == 0 || registry.OpenKey(path, key) != IRegistry::kSuccess) return;
  std::uint32_t count = 0;
  if (!util.GetSubKeyCount(key, count)) return;
  for (std::uint32_t i = 0; i < count && i < 16; ++i) {
    char name[CRegUtil::kNameSize] = {};
    if (registry.OpenKey(path, key) != IRegistry::kSuccess) return;
    if (!util.GetSubKeyName(key, i, name)) continue;
    Walk(registry, util, path.empty() ? name : path + "\\" + name, depth - 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeRegistry registry;
  registry.LoadText(std::string(reinterpret_cast<const char*>(data), size));
  CRegUtil util(registry);
  for (const char* root : {"SYSTEM", "Enum", "SYSTEM\\CurrentControlSet\\Enum", "HARDWARE"})
    Walk(registry, util, root, 4);
  if (registry.OpenHandles() != 0 || registry.badCloses != 0) std::abort();
  return 0;
}

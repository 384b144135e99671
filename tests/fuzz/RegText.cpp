// .reg text into the registry double, then every key reached through the
// registry reader and the device walks of every Windows family: loading
// must never crash, and every key opened is closed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "registry/DeviceWalks.h"
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

  FakeDrives drives;
  drives.drives['D'].type = kDriveCdrom;
  drives.drives['E'].type = kDriveCdrom;
  // 9x, NT 4, 2000, XP, Vista and later, and an unknown edition.
  for (const int edition : {3003, 3011, 3001, 3008, 3021, 0}) {
    PlatformFacts facts;
    facts.OsEditionCode = edition;
    std::vector<std::string> monitors, adapters, cdroms;
    FindMonitorNames(registry, monitors, facts);
    FindDisplayAdapterNames(registry, facts, adapters);
    FindCdromNames(registry, drives, facts, cdroms);
  }
  if (registry.OpenHandles() != 0 || registry.badCloses != 0) std::abort();
  return 0;
}

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
#include "registry/KeyWalker.h"

namespace {

void Walk(KeyWalker& walker, const std::string& path, int depth) {
  walker.ReadText(path, "DeviceDesc");
  walker.IsPresent(path);
  walker.ForEachSubKey(path, [&](const std::string& child) {
    if (depth > 0) Walk(walker, child, depth - 1);
    return true;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeRegistry registry;
  registry.LoadText(std::string(reinterpret_cast<const char*>(data), size));
  KeyWalker walker(registry);
  for (const char* root : {"SYSTEM", "Enum", "HARDWARE"}) Walk(walker, root, 5);
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

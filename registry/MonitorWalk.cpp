#include "registry/DeviceWalks.h"
#include "registry/KeyWalker.h"
#include "registry/OsFamily.h"
#include "registry/RootScan.h"

namespace {

const std::vector<std::string> kWin9xMonitorRoots = {
    "Enum\\MONITOR", "Enum\\PCI", "Enum\\Root", "Enum\\ISAPNP", "Enum\\BIOS",
};
constexpr const char* kNt4Monitor = "Plug and Play Monitor";
constexpr const char* kDisplayEnum = "SYSTEM\\CurrentControlSet\\Enum\\DISPLAY";

// One name per monitor model: the description of its first present
// instance of class MONITOR.
int WalkNt5Monitors(KeyWalker& walker, std::vector<std::string>& names) {
  const auto models = walker.CountSubKeys(kDisplayEnum);
  if (!models) return -1;
  for (std::uint32_t m = 0; m < *models; ++m) {
    const auto model = walker.SubKeyPath(kDisplayEnum, m);
    if (!model) continue;
    const auto instances = walker.CountSubKeys(*model);
    if (!instances) continue;
    for (std::uint32_t i = 0; i < *instances; ++i) {
      const auto instance = walker.SubKeyPath(*model, i);
      if (!instance || !walker.ValueIs(*instance, "Class", "MONITOR")) continue;
      const auto description = walker.ReadText(*instance, "DeviceDesc");
      if (!description || !walker.IsPresent(*instance)) continue;
      names.push_back(*description);
      if (names.size() >= kNameLimit) return 0;
      break;
    }
  }
  return 0;
}

}  // namespace

int FindMonitorNames(IRegistry& registry, std::vector<std::string>& names,
                     const PlatformFacts& facts) {
  KeyWalker walker(registry);
  switch (FamilyWithXpAsNt5(facts.OsEditionCode)) {
    case OsFamily::Win9x:
      ScanRoots(walker, kWin9xMonitorRoots, "MONITOR", names);
      return 0;
    case OsFamily::Nt4:
      names.push_back(kNt4Monitor);
      return 0;
    case OsFamily::Nt5:
      return WalkNt5Monitors(walker, names);
    default:
      return -1;
  }
}

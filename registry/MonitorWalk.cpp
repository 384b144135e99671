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
  const bool counted = walker.ForEachSubKey(kDisplayEnum, [&](const std::string& model) {
    bool added = false;
    walker.ForEachSubKey(model, [&](const std::string& instance) {
      if (!walker.ValueIs(instance, "Class", "MONITOR")) return true;
      const auto description = walker.ReadText(instance, "DeviceDesc");
      if (!description || !walker.IsPresent(instance)) return true;
      names.push_back(*description);
      added = true;
      return false;
    });
    return !added || names.size() < kNameLimit;
  });
  return counted ? 0 : -1;
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

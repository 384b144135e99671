#include "registry/DeviceWalks.h"
#include "registry/KeyWalker.h"
#include "registry/OsFamily.h"
#include "registry/RootScan.h"

namespace {

const std::vector<std::string> kWin9xAdapterRoots = {
    "Enum\\PCI",
    "Enum\\Root",
    "Enum\\ISAPNP",
    "Enum\\BIOS",
};
constexpr const char* kClassKeys = "SYSTEM\\CurrentControlSet\\Control\\Class";
constexpr const char* kRootEnum = "SYSTEM\\CurrentControlSet\\Enum\\Root";
constexpr const char* kPciEnum = "System\\CurrentControlSet\\Enum\\PCI";

enum class ScanEnd { Failed, Done };

// The driver descriptions of every instance under the DISPLAY class keys.
// A full list ends only the instance loop of the current class key; a
// class key whose instances cannot be counted ends the scan.
ScanEnd ScanClassKeys(KeyWalker& walker, std::vector<std::string>& names) {
  const bool counted = walker.ForEachSubKey(kClassKeys, [&](const std::string& classKey) {
    if (!walker.ValueIs(classKey, "Class", "DISPLAY")) return true;
    return walker.ForEachSubKey(classKey, [&](const std::string& instance) {
      const auto description = walker.ReadText(instance, "DriverDesc");
      if (!description) return true;
      names.push_back(*description);
      return names.size() != kNameLimit;
    });
  });
  return counted ? ScanEnd::Done : ScanEnd::Failed;
}

// NT 4's legacy devices under Enum\Root: a device key carrying a "Class"
// is itself the candidate, and a full list ends the walk; otherwise its
// instances are, and a full list ends only their loop.
void ScanLegacyRoot(KeyWalker& walker, std::vector<std::string>& names) {
  walker.ForEachSubKey(kRootEnum, [&](const std::string& device) {
    if (walker.ReadText(device, "Class")) {
      if (!walker.ValueIs(device, "Class", "DISPLAY")) return true;
      const auto description = walker.ReadText(device, "DeviceDesc");
      if (!description) return true;
      names.push_back(*description);
      return names.size() < kNameLimit;
    }
    walker.ForEachSubKey(device, [&](const std::string& instance) {
      if (!walker.ValueIs(instance, "Class", "DISPLAY")) return true;
      const auto description = walker.ReadText(instance, "DeviceDesc");
      if (!description) return true;
      names.push_back(*description);
      return names.size() < kNameLimit;
    });
    return true;
  });
}

// The first instance of each PCI device, when it is a present display.
void ScanPci(KeyWalker& walker, std::vector<std::string>& names) {
  walker.ForEachSubKey(kPciEnum, [&](const std::string& device) {
    const auto instance = walker.SubKeyPath(device, 0);
    if (!instance || !walker.ValueIs(*instance, "Class", "DISPLAY")) return true;
    const auto description = walker.ReadText(*instance, "DeviceDesc");
    if (!description || !walker.IsPresent(*instance)) return true;
    names.push_back(*description);
    return names.size() != kNameLimit;
  });
}

int HasNames(const std::vector<std::string>& names) { return names.empty() ? -1 : 0; }

}  // namespace

int FindDisplayAdapterNames(IRegistry& registry, const PlatformFacts& facts,
                            std::vector<std::string>& names) {
  KeyWalker walker(registry);
  switch (FamilyOf(facts.OsEditionCode)) {
    case OsFamily::Win9x:
      return ScanRoots(walker, kWin9xAdapterRoots, "DISPLAY", names);
    case OsFamily::Xp:
      if (ScanClassKeys(walker, names) == ScanEnd::Failed) return -1;
      return HasNames(names);
    case OsFamily::Nt4:
      if (ScanClassKeys(walker, names) == ScanEnd::Failed) return -1;
      if (names.empty()) ScanLegacyRoot(walker, names);
      return HasNames(names);
    case OsFamily::Nt5:
      ScanPci(walker, names);
      return HasNames(names);
    default:
      return -1;
  }
}

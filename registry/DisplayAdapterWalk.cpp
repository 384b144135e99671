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
// A full list ends only the instance loop of the current class key.
ScanEnd ScanClassKeys(KeyWalker& walker, std::vector<std::string>& names) {
  const auto classes = walker.CountSubKeys(kClassKeys);
  if (!classes) return ScanEnd::Failed;
  for (std::uint32_t g = 0; g < *classes; ++g) {
    const auto classKey = walker.SubKeyPath(kClassKeys, g);
    if (!classKey || !walker.ValueIs(*classKey, "Class", "DISPLAY")) continue;
    const auto instances = walker.CountSubKeys(*classKey);
    if (!instances) break;
    for (std::uint32_t n = 0; n < *instances; ++n) {
      const auto instance = walker.SubKeyPath(*classKey, n);
      if (!instance) continue;
      const auto description = walker.ReadText(*instance, "DriverDesc");
      if (!description) continue;
      names.push_back(*description);
      if (names.size() == kNameLimit) break;
    }
  }
  return ScanEnd::Done;
}

// NT 4's legacy devices under Enum\Root: a device key carrying a "Class"
// is itself the candidate; otherwise its instances are.
void ScanLegacyRoot(KeyWalker& walker, std::vector<std::string>& names) {
  const auto devices = walker.CountSubKeys(kRootEnum);
  if (!devices) return;
  for (std::uint32_t d = 0; d < *devices; ++d) {
    const auto device = walker.SubKeyPath(kRootEnum, d);
    if (!device) continue;
    if (walker.ReadText(*device, "Class")) {
      if (!walker.ValueIs(*device, "Class", "DISPLAY")) continue;
      const auto description = walker.ReadText(*device, "DeviceDesc");
      if (!description) continue;
      names.push_back(*description);
      if (names.size() >= kNameLimit) return;
      continue;
    }
    const auto instances = walker.CountSubKeys(*device);
    if (!instances) continue;
    for (std::uint32_t i = 0; i < *instances; ++i) {
      const auto instance = walker.SubKeyPath(*device, i);
      if (!instance || !walker.ValueIs(*instance, "Class", "DISPLAY")) continue;
      const auto description = walker.ReadText(*instance, "DeviceDesc");
      if (!description) continue;
      names.push_back(*description);
      if (names.size() >= kNameLimit) break;
    }
  }
}

// The first instance of each PCI device, when it is a present display.
void ScanPci(KeyWalker& walker, std::vector<std::string>& names) {
  const auto devices = walker.CountSubKeys(kPciEnum);
  if (!devices) return;
  for (std::uint32_t d = 0; d < *devices; ++d) {
    const auto device = walker.SubKeyPath(kPciEnum, d);
    if (!device) continue;
    const auto instance = walker.SubKeyPath(*device, 0);
    if (!instance || !walker.ValueIs(*instance, "Class", "DISPLAY")) continue;
    const auto description = walker.ReadText(*instance, "DeviceDesc");
    if (!description || !walker.IsPresent(*instance)) continue;
    names.push_back(*description);
    if (names.size() == kNameLimit) return;
  }
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

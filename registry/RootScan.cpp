#include "registry/RootScan.h"

#include "registry/DeviceWalks.h"

int ScanRoots(KeyWalker& walker, const std::vector<std::string>& roots, const char* deviceClass,
              std::vector<std::string>& names) {
  for (const std::string& root : roots) {
    walker.ForEachSubKey(root, [&](const std::string& device) {
      const auto instance = walker.SubKeyPath(device, 0);  // the first instance only
      if (!instance || !walker.ValueIs(*instance, "Class", deviceClass)) return true;
      const auto description = walker.ReadText(*instance, "DeviceDesc");
      if (!description) return true;
      names.push_back(*description);
      return names.size() != kNameLimit;
    });
    // A full list is not empty either: the walk ends with it.
    if (!names.empty()) return 0;
  }
  return -1;
}

#include "registry/RootScan.h"

#include "registry/DeviceWalks.h"

int ScanRoots(KeyWalker& walker, const std::vector<std::string>& roots, const char* deviceClass,
              std::vector<std::string>& names) {
  for (const std::string& root : roots) {
    const auto devices = walker.CountSubKeys(root);
    if (!devices || *devices == 0) continue;
    for (std::uint32_t d = 0; d < *devices; ++d) {
      const auto device = walker.SubKeyPath(root, d);
      if (!device) continue;
      const auto instance = walker.SubKeyPath(*device, 0);  // the first instance only
      if (!instance || !walker.ValueIs(*instance, "Class", deviceClass)) continue;
      const auto description = walker.ReadText(*instance, "DeviceDesc");
      if (!description) continue;
      names.push_back(*description);
      if (names.size() == kNameLimit) return 0;
    }
    if (!names.empty()) return 0;
  }
  return -1;
}

#pragma once
#include <string>
#include <vector>

#include "registry/KeyWalker.h"

// The Windows 95 family's scan: for each root in order, the first instance
// of every device whose "Class" is `deviceClass` adds its "DeviceDesc".
// Stops at the name limit, or after the first root that yielded a name.
// 0 when the list holds a name at the end; -1 otherwise.
int ScanRoots(KeyWalker& walker, const std::vector<std::string>& roots, const char* deviceClass,
              std::vector<std::string>& names);

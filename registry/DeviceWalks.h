#pragma once
// The walks over the registry's device keys that name monitors, display
// adapters and CD-ROM drives when WMI did not. Each chooses its Windows
// family by the edition code, only appends to its list, and reports
// registry failures by skipping the key concerned.
#include <string>
#include <vector>

#include "entry/PlatformFacts.h"

class IRegistry;
class IDrives;

// The most names a walk collects before it stops (some walks stop only
// their innermost loop).
inline constexpr std::size_t kNameLimit = 8;

// -1 for no family, or when the NT 5 monitor key cannot be counted; else 0.
int FindMonitorNames(IRegistry& registry, std::vector<std::string>& names,
                     const PlatformFacts& facts);
// 0 when the list holds a name afterwards; -1 otherwise.
int FindDisplayAdapterNames(IRegistry& registry, const PlatformFacts& facts,
                            std::vector<std::string>& names);
// Records the letters of the CD-ROM drives present now, in drive order.
void FindCdromLetters(IDrives& drives, PlatformFacts& facts);
// Records the CD-ROM letters, then walks the family's keys: 0 when the
// list holds a name afterwards; -1 otherwise.
int FindCdromNames(IRegistry& registry, IDrives& drives, PlatformFacts& facts,
                   std::vector<std::string>& names);

#include <string>

#include "platform/Drives.h"
#include "registry/DeviceWalks.h"
#include "registry/KeyWalker.h"
#include "registry/OsFamily.h"

namespace {

constexpr const char* kWin9xScsi = "Enum\\SCSI";
constexpr const char* kScsiDeviceMap = "HARDWARE\\DEVICEMAP\\Scsi";
constexpr const char* kNt5Roots[] = {
    "System\\CurrentControlSet\\Enum\\IDE",
    "System\\CurrentControlSet\\Enum\\SCSI",
};
constexpr std::int32_t kLetterLimit = 8;

bool IsXp(std::int32_t code) { return FamilyOf(code) == OsFamily::Xp; }

// Devices of class CDROM whose assigned drive letter is a CD-ROM drive
// present now. At most the first eight recorded letters take part.
void WalkWin9x(KeyWalker& walker, PlatformFacts& facts, std::vector<std::string>& names) {
  walker.ForEachSubKey(kWin9xScsi, [&](const std::string& device) {
    const auto instance = walker.SubKeyPath(device, 0);
    if (!instance || !walker.ValueIs(*instance, "Class", "CDROM")) return true;
    const auto assignment = walker.ReadText(*instance, "CurrentDriveLetterAssignment");
    if (!assignment) return true;
    if (facts.cdromLetterCount > kLetterLimit) facts.cdromLetterCount = kLetterLimit;
    for (std::int32_t k = 0; k < facts.cdromLetterCount; ++k) {
      if (facts.cdromLetters[k] != (*assignment)[0]) continue;
      const auto description = walker.ReadText(*instance, "DeviceDesc");
      if (!description) continue;
      names.push_back(*description);
      if (names.size() >= kNameLimit) break;
    }
    return true;
  });
}

// Ports, buses, targets and logical units of the SCSI device map. A full
// list ends only the current target's units.
void WalkNt4(KeyWalker& walker, std::vector<std::string>& names) {
  walker.ForEachSubKey(kScsiDeviceMap, [&](const std::string& port) {
    walker.ForEachSubKey(port, [&](const std::string& bus) {
      walker.ForEachSubKey(bus, [&](const std::string& target) {
        walker.ForEachSubKey(target, [&](const std::string& unit) {
          if (!walker.ValueIs(unit, "Type", "CDROMPERIPHERAL")) return true;
          const auto identifier = walker.ReadText(unit, "Identifier");
          if (!identifier) return true;
          names.push_back(*identifier);
          return names.size() != kNameLimit;
        });
        return true;
      });
      return true;
    });
    return true;
  });
}

// The first instance of each IDE, then SCSI, device that identifies as a
// CD-ROM and is present. A full list ends only the current root.
void WalkNt5(KeyWalker& walker, std::int32_t code, std::vector<std::string>& names) {
  for (const char* root : kNt5Roots) {
    walker.ForEachSubKey(root, [&](const std::string& device) {
      const auto instance = walker.SubKeyPath(device, 0);
      if (!instance) return true;
      const bool cdrom = IsXp(code) ? walker.ValueIs(*instance, "Service", "CDROM")
                                    : walker.ValueIs(*instance, "CompatibleIDs", "GENCDROM");
      const auto name = cdrom ? walker.ReadText(*instance, "FriendlyName") : std::nullopt;
      if (!name || !walker.IsPresent(*instance)) return true;
      names.push_back(*name);
      return names.size() != kNameLimit;
    });
  }
}

}  // namespace

void FindCdromLetters(IDrives& drives, PlatformFacts& facts) {
  facts.cdromLetterCount = 0;
  for (char& letter : facts.cdromLetters) letter = 0;
  const std::uint32_t mask = drives.GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((mask & (1u << i)) == 0) continue;
    const std::string root{static_cast<char>('A' + i), ':', '\\'};
    if (drives.GetDriveType(root) == kDriveCdrom)
      facts.cdromLetters[facts.cdromLetterCount++] = static_cast<char>('A' + i);
  }
}

int FindCdromNames(IRegistry& registry, IDrives& drives, PlatformFacts& facts,
                   std::vector<std::string>& names) {
  FindCdromLetters(drives, facts);
  KeyWalker walker(registry);
  switch (FamilyWithXpAsNt5(facts.OsEditionCode)) {
    case OsFamily::Win9x:
      WalkWin9x(walker, facts, names);
      break;
    case OsFamily::Nt4:
      WalkNt4(walker, names);
      break;
    case OsFamily::Nt5:
      WalkNt5(walker, facts.OsEditionCode, names);
      break;
    default:
      return -1;
  }
  return names.empty() ? -1 : 0;
}

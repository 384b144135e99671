// The device walks over .reg fixtures, per Windows family.
#include <gtest/gtest.h>

#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "registry/DeviceWalks.h"
#include "registry/OsFamily.h"

namespace {

enum class Walk { Monitors, Adapters, Cdroms };

struct WalkCase {
  const char* fixture;
  std::int32_t code;
  Walk walk;
  const char* cdromDrives;  // letters of the CD-ROM drives present
  int result;
  std::vector<std::string> names;
};

std::vector<std::string> Numbered(const std::string& prefix, int from, int to) {
  std::vector<std::string> names;
  for (int i = from; i <= to; ++i) names.push_back(prefix + std::to_string(i));
  return names;
}

const std::vector<std::string> kEightCds = {"CD D", "CD E", "CD F", "CD G",
                                            "CD H", "CD I", "CD J", "CD K"};

const WalkCase kWalkCases[] = {
    // Windows 95 family: first instances only, first root with a name.
    {"win9x.reg", 3003, Walk::Monitors, "", 0, {"Default Monitor"}},
    {"win9x.reg", 3006, Walk::Adapters, "", 0, {"Adapter One", "Adapter Two"}},
    {"win9x.reg", 3004, Walk::Cdroms, "D", 0, {"CD at D"}},
    {"win9x.reg", 3004, Walk::Cdroms, "", -1, {}},
    {"win9x-later-root.reg", 3003, Walk::Monitors, "", 0, {"ISA monitor"}},
    {"win9x-later-root.reg", 3003, Walk::Adapters, "", 0, {"Not a monitor"}},
    {"nt5.reg", 3003, Walk::Adapters, "", -1, {}},
    {"limits.reg", 3005, Walk::Cdroms, "DEFGHIJKLM", 0, kEightCds},
    // NT 4.
    {"nt4.reg", 3011, Walk::Monitors, "", 0, {"Plug and Play Monitor"}},
    {"win9x.reg", 3015, Walk::Monitors, "", 0, {"Plug and Play Monitor"}},
    {"nt4.reg",
     3012,
     Walk::Adapters,
     "",
     0,
     {"Root instance display", "Second root instance display", "Legacy VGA"}},
    {"nt5.reg", 3002, Walk::Adapters, "", 0, {"XP Adapter A", "XP Adapter B"}},
    {"nt4.reg", 3014, Walk::Cdroms, "", 0, {"NT4 CD", "Second CD"}},
    // XP: class keys for adapters; Service for CD-ROM drives.
    {"nt5.reg", 3009, Walk::Adapters, "", 0, {"XP Adapter A", "XP Adapter B"}},
    {"nt4.reg", 3008, Walk::Adapters, "", -1, {}},
    {"nt5.reg", 3017, Walk::Monitors, "", 0, {"Model A"}},
    {"nt5.reg", 3008, Walk::Cdroms, "", 0, {"XP-only CD", "IDE CD", "SCSI CD"}},
    // NT 5 and later.
    {"nt5.reg", 3001, Walk::Monitors, "", 0, {"Model A"}},
    {"nt5.reg", 3025, Walk::Adapters, "", 0, Numbered("Adapter ", 1, 8)},
    {"nt5.reg", 3000, Walk::Cdroms, "", 0, {"IDE CD", "SCSI CD"}},
    {"win9x.reg", 3001, Walk::Monitors, "", -1, {}},
    {"win9x.reg", 3001, Walk::Adapters, "", -1, {}},
    {"limits.reg", 3028, Walk::Cdroms, "", 0,
     [] {
       auto names = Numbered("IDE ", 1, 8);
       names.push_back("SCSI 1");  // a full IDE root still leaves the SCSI root
       return names;
     }()},
    // No family: nothing runs.
    {"nt5.reg", 0, Walk::Monitors, "", -1, {}},
    {"nt5.reg", 3010, Walk::Adapters, "", -1, {}},
    {"nt5.reg", 3010, Walk::Cdroms, "", -1, {}},
    {"nt5.reg", 3029, Walk::Monitors, "", -1, {}},
};

std::string Describe(const WalkCase& c) {
  const char* walks[] = {"monitors", "adapters", "cdroms"};
  return std::string(c.fixture) + " " + std::to_string(c.code) + " " +
         walks[static_cast<int>(c.walk)];
}

void Load(FakeRegistry& registry, const std::string& fixture) {
  std::string error;
  ASSERT_TRUE(registry.LoadFile(MORV_FIXTURES "/registry/" + fixture, &error)) << error;
}

TEST(DeviceWalksTest, NamesPerFamilyFromFixtures) {
  for (const WalkCase& c : kWalkCases) {
    SCOPED_TRACE(Describe(c));
    FakeRegistry registry;
    Load(registry, c.fixture);
    FakeDrives drives;
    drives.drives['C'].type = kDriveFixed;
    for (const char* letter = c.cdromDrives; *letter; ++letter)
      drives.drives[*letter].type = kDriveCdrom;
    PlatformFacts facts;
    facts.OsEditionCode = c.code;
    std::vector<std::string> names;
    int result = 99;
    switch (c.walk) {
      case Walk::Monitors:
        result = FindMonitorNames(registry, names, facts);
        break;
      case Walk::Adapters:
        result = FindDisplayAdapterNames(registry, facts, names);
        break;
      case Walk::Cdroms:
        result = FindCdromNames(registry, drives, facts, names);
        break;
    }
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(registry.OpenHandles(), 0u);
    EXPECT_EQ(registry.badCloses, 0);
  }
}

TEST(DeviceWalksTest, MonitorWalkOnNt5NeedsItsBaseKey) {
  struct Case {
    const char* text;
    int result;
  };
  const Case cases[] = {
      {"REGEDIT4\n", -1},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY]\n;@fail-info\n",
       -1},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY]\n", 0},
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    ASSERT_TRUE(registry.LoadText(c.text));
    PlatformFacts facts;
    facts.OsEditionCode = 3021;
    std::vector<std::string> names;
    EXPECT_EQ(FindMonitorNames(registry, names, facts), c.result) << c.text;
    EXPECT_TRUE(names.empty());
  }
}

TEST(DeviceWalksTest, UncountableDisplayClassKeyEndsTheClassScan) {
  // NT 4 then falls back to the legacy root devices.
  FakeRegistry registry;
  Load(registry, "nt4.reg");
  ASSERT_TRUE(registry.LoadText(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{0}]\n"
      "\"Class\"=\"DISPLAY\"\n;@fail-info\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{0}\\0000]\n"
      "\"DriverDesc\"=\"Hidden\"\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{1}]\n"
      "\"Class\"=\"DISPLAY\"\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{1}\\0000]\n"
      "\"DriverDesc\"=\"After the end\"\n"));
  for (const std::int32_t code : {3002, 3007}) {
    PlatformFacts facts;
    facts.OsEditionCode = code;
    std::vector<std::string> names;
    const int result = FindDisplayAdapterNames(registry, facts, names);
    if (code == 3002) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(names.size(), 3u);
      EXPECT_EQ(names.front(), "Root instance display");
    } else {
      EXPECT_EQ(result, -1);
      EXPECT_TRUE(names.empty());
    }
  }
}

TEST(DeviceWalksTest, CdromLettersInDriveOrderWhateverTheFamily) {
  for (const std::int32_t code : {0, 3003, 3011, 3025}) {
    FakeRegistry registry;
    FakeDrives drives;
    drives.drives['C'].type = kDriveFixed;
    drives.drives['D'].type = kDriveCdrom;
    drives.drives['E'].type = kDriveRemovable;
    drives.drives['F'].type = kDriveCdrom;
    PlatformFacts facts;
    facts.OsEditionCode = code;
    facts.cdromLetterCount = 5;
    facts.cdromLetters[4] = 'X';
    std::vector<std::string> names;
    FindCdromNames(registry, drives, facts, names);
    EXPECT_EQ(facts.cdromLetterCount, 2) << code;
    EXPECT_EQ(std::string(facts.cdromLetters, 26), std::string("DF") + std::string(24, '\0'));
  }
}

TEST(DeviceWalksTest, TenCdromLettersAreCutToEightOnWin9x) {
  FakeRegistry registry;
  Load(registry, "limits.reg");
  FakeDrives drives;
  for (const char letter : std::string("DEFGHIJKLM")) drives.drives[letter].type = kDriveCdrom;
  PlatformFacts facts;
  facts.OsEditionCode = 3003;
  std::vector<std::string> names;
  FindCdromNames(registry, drives, facts, names);
  EXPECT_EQ(facts.cdromLetterCount, 8);
  EXPECT_EQ(facts.cdromLetters[9], 'M');  // recorded, but no longer counted
}

TEST(DeviceWalksTest, FamilyTableCoversEveryCode) {
  struct Case {
    std::int32_t code;
    OsFamily family;
  };
  const Case cases[] = {
      {2999, OsFamily::None}, {3000, OsFamily::Nt5},   {3001, OsFamily::Nt5},
      {3002, OsFamily::Nt4},  {3003, OsFamily::Win9x}, {3006, OsFamily::Win9x},
      {3007, OsFamily::Xp},   {3009, OsFamily::Xp},    {3010, OsFamily::None},
      {3011, OsFamily::Nt4},  {3012, OsFamily::Nt4},   {3013, OsFamily::Nt5},
      {3014, OsFamily::Nt4},  {3015, OsFamily::Nt4},   {3016, OsFamily::Nt5},
      {3017, OsFamily::Xp},   {3018, OsFamily::Nt5},   {3028, OsFamily::Nt5},
      {3029, OsFamily::None}, {0, OsFamily::None},
  };
  for (const Case& c : cases) EXPECT_EQ(FamilyOf(c.code), c.family) << c.code;
  EXPECT_EQ(FamilyWithXpAsNt5(3017), OsFamily::Nt5);
}

}  // namespace

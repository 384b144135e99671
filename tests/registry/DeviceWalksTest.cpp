// The device walks over .reg fixtures, per Windows family, by the rows of
// fixtures/registry/walks.txt.
#include <gtest/gtest.h>

#include <cstring>

#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "doubles/TableRows.h"
#include "registry/DeviceWalks.h"

namespace {

TEST(DeviceWalksTest, NamesPerWalkAndFamily) {
  RunTable("registry/walks.txt", 7, 3, [](const TableRow& r) {
    FakeRegistry registry;
    std::string error;
    EXPECT_TRUE(registry.LoadFile(MORV_FIXTURES "/registry/" + r[0], &error)) << error;
    FakeDrives drives;
    for (const char letter : r[3]) drives.drives[letter].type = kDriveCdrom;
    drives.drives.erase('-');
    drives.drives['C'].type = kDriveFixed;
    drives.drives.try_emplace('E').first->second.type = r[3].find('E') == r[3].npos ? 2 : 5;
    PlatformFacts facts;
    facts.OsEditionCode = std::stoi(r[1]);
    facts.cdromLetterCount = 5;  // left by an earlier run
    facts.cdromLetters[4] = 'X';
    std::vector<std::string> names;
    const int result = r[2] == "monitors"   ? FindMonitorNames(registry, names, facts)
                       : r[2] == "adapters" ? FindDisplayAdapterNames(registry, facts, names)
                                            : FindCdromNames(registry, drives, facts, names);
    EXPECT_EQ(registry.OpenHandles(), 0u);
    EXPECT_EQ(registry.badCloses, 0);
    std::string letters = std::to_string(facts.cdromLetterCount) + " ";
    for (const char letter : facts.cdromLetters) letters += letter ? letter : '.';
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) joined += (i ? "; " : "") + names[i];
    return TableRow{std::to_string(result), r[2] == "cdroms" ? letters : "-", joined};
  });
}

}  // namespace

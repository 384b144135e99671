// The speed table read from "cpuinfo.ini" beside the host program, by the
// rows of fixtures/cpu/speed/cases.txt. Compiled for the host (doubles over
// the host's files) and for Windows (the real profile reader).
#include <gtest/gtest.h>

#include <algorithm>

#include "cpu/SpeedTable.h"
#include "doubles/FakePlatform.h"
#include "doubles/ProcessorDoubles.h"
#include "doubles/TableRows.h"
#ifdef _WIN32
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsProfileReader.h"
using Files = WindowsFileSystem;
using Profile = WindowsProfileReader;
#else
using Files = HostFileSystem;
using Profile = HostProfileReader;
#endif

namespace {

TEST(SpeedTableTest, SnapsToTheFirstRangeOfTheVendorsSection) {
  RunTable("cpu/speed/cases.txt", 4, 1, [](const TableRow& r) {
    FakeHostProcess host;
    host.path = MORV_FIXTURES "/cpu/speed/" + r[0] + "/agent.exe";
    std::replace(host.path.begin(), host.path.end(), '/', '\\');
    Files files;
    Profile profile;
    Platform platform;
    platform.host = &host;
    platform.files = &files;
    platform.profile = &profile;
    return TableRow{std::to_string(SnapToNominalSpeed(platform, std::stoul(r[2]), r[1].c_str()))};
  });
}

}  // namespace

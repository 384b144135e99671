// The speed table read from "cpuinfo.ini" beside the host program, by the
// rows of fixtures/cpu/speed/cases.txt. Compiled for the host (doubles over
// the host's files) and for Windows (the real profile reader).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

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

namespace fs = std::filesystem;

namespace {

TEST(SpeedTableTest, SnapsToTheFirstRangeOfTheVendorsSection) {
  const fs::path dir =
      fs::temp_directory_path() / ("morv-cpu-" + std::to_string(std::random_device{}()));
  RunTable("cpu/speed/cases.txt", 4, 1, [&](const TableRow& r) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (r[0] != "-") fs::copy_file(MORV_FIXTURES "/cpu/speed/" + r[0], dir / "cpuinfo.ini");
    FakeHostProcess host;
    host.path = (dir / "agent.exe").string();
    std::replace(host.path.begin(), host.path.end(), '/', '\\');
    Files files;
    Profile profile;
    Platform platform;
    platform.host = &host;
    platform.files = &files;
    platform.profile = &profile;
    const auto snapped = SnapToNominalSpeed(platform, std::stoul(r[2]), r[1].c_str());
    return TableRow{std::to_string(snapped)};
  });
  fs::remove_all(dir);
}

}  // namespace

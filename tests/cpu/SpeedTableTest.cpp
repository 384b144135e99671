// The speed table read from a real "cpuinfo.ini" beside the host program,
// and the clock measurement. Compiled for the host (doubles over the host's
// files) and for Windows (the real profile reader).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "cpu/CpuSpeed.h"
#include "cpu/SpeedTable.h"
#include "doubles/FakePlatform.h"
#include "doubles/ProcessorDoubles.h"
#include "doubles/ScriptedProcessor.h"
#ifdef _WIN32
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsProfileReader.h"
#endif

namespace fs = std::filesystem;

namespace {

// A directory of its own holding the host program's path and, optionally,
// "cpuinfo.ini".
class AgentDirectory {
 public:
  AgentDirectory() {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("morv-cpu-" + std::to_string(random()));
    fs::create_directories(dir_);
    host.path = WindowsPath(dir_ / "agent.exe");
    platform.host = &host;
    platform.files = &files;
    platform.profile = &profile;
  }
  ~AgentDirectory() {
    std::error_code error;
    fs::permissions(IniPath(), fs::perms::owner_all, error);
    fs::remove_all(dir_, error);
  }

  void WriteIni(const std::string& text) { std::ofstream(IniPath(), std::ios::binary) << text; }
  fs::path IniPath() const { return dir_ / "cpuinfo.ini"; }

  FakeHostProcess host;
#ifdef _WIN32
  WindowsFileSystem files;
  WindowsProfileReader profile;
#else
  HostFileSystem files;
  HostProfileReader profile;
#endif
  Platform platform;

 private:
  static std::string WindowsPath(const fs::path& path) {
#ifdef _WIN32
    return path.string();
#else
    std::string text = "C:" + path.string();
    for (char& c : text) {
      if (c == '/') c = '\\';
    }
    return text;
#endif
  }

  fs::path dir_;
};

constexpr char kTwoVendors[] =
    "; speed ranges per vendor\r\n"
    "[CPU_INFO]\r\n"
    "CPU_INTEL=INTEL_SPEED\r\n"
    "CPU_AMD=AMD_SPEED\r\n"
    "\r\n"
    "[INTEL_SPEED]\r\n"
    "NUMBER=2\r\n"
    "SPEED1_ST=725\r\nSPEED1_EN=740\r\nSPEED1=733\r\n"
    "SPEED2_ST=990\r\nSPEED2_EN=1010\r\nSPEED2=1000\r\n"
    "[AMD_SPEED]\r\n"
    "NUMBER=1\r\n"
    "SPEED1_ST=1600\r\nSPEED1_EN=1700\r\nSPEED1=1667\r\n";

constexpr char kOverlapping[] =
    "[CPU_INFO]\nCPU_INTEL=P3\n[P3]\nNUMBER=2\n"
    "SPEED1_ST=700\nSPEED1_EN=800\nSPEED1=750\n"
    "SPEED2_ST=725\nSPEED2_EN=740\nSPEED2=733\n";

constexpr char kAmdBeforeMapping[] =
    "[OTHER]\nCPU_AMD=AMD_SPEED\n"
    "[CPU_INFO]\nCPU_INTEL=INTEL_SPEED\n"
    "[INTEL_SPEED]\nNUMBER=1\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n"
    "[AMD_SPEED]\nNUMBER=1\nSPEED1_ST=1600\nSPEED1_EN=1700\nSPEED1=1667\n";

constexpr char kAmdInLaterSection[] =
    "[CPU_INFO]\nCPU_INTEL=INTEL_SPEED\n"
    "[INTEL_SPEED]\nNUMBER=1\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n"
    "CPU_AMD=AMD_SPEED\n"
    "[AMD_SPEED]\nNUMBER=1\nSPEED1_ST=1600\nSPEED1_EN=1700\nSPEED1=1667\n";

constexpr char kNumberZero[] =
    "[CPU_INFO]\nCPU_INTEL=S\n[S]\nNUMBER=0\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n";
constexpr char kNumberNegative[] =
    "[CPU_INFO]\nCPU_INTEL=S\n[S]\nNUMBER=-3\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n";
constexpr char kNumberMissing[] =
    "[CPU_INFO]\nCPU_INTEL=S\n[S]\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n";
constexpr char kNoMapping[] =
    "[CPU_INF]\nCPU_INTEL=S\n[S]\nNUMBER=1\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n";
constexpr char kMissingStart[] =
    "[CPU_INFO]\nCPU_INTEL=S\n[S]\nNUMBER=1\nSPEED1_EN=800\nSPEED1=750\n";
constexpr char kEmptySectionName[] =
    "[CPU_INFO]\nCPU_INTEL=\n[]\nNUMBER=1\nSPEED1_ST=725\nSPEED1_EN=740\nSPEED1=733\n";

struct SnapCase {
  const char* what;
  const char* ini;  // null: no file
  const char* vendor;
  std::uint32_t measured;
  std::uint32_t expected;
};

constexpr SnapCase kSnapCases[] = {
    {"no file", nullptr, kSpeedKeyIntel, 731, 731},
    {"inside a range", kTwoVendors, kSpeedKeyIntel, 731, 733},
    {"range start inclusive", kTwoVendors, kSpeedKeyIntel, 725, 733},
    {"range end inclusive", kTwoVendors, kSpeedKeyIntel, 740, 733},
    {"just above a range", kTwoVendors, kSpeedKeyIntel, 741, 741},
    {"just below a range", kTwoVendors, kSpeedKeyIntel, 724, 724},
    {"second range", kTwoVendors, kSpeedKeyIntel, 995, 1000},
    {"other vendor's section", kTwoVendors, kSpeedKeyAmd, 1650, 1667},
    {"vendor missing from the mapping", kTwoVendors, kSpeedKeyCyrix, 731, 731},
    {"overlap: first listed wins", kOverlapping, kSpeedKeyIntel, 731, 750},
    {"mapping line before the header", kAmdBeforeMapping, kSpeedKeyAmd, 1650, 1650},
    {"header still maps the other vendor", kAmdBeforeMapping, kSpeedKeyIntel, 731, 733},
    {"mapping line in a later section", kAmdInLaterSection, kSpeedKeyAmd, 1650, 1667},
    {"NUMBER 0", kNumberZero, kSpeedKeyIntel, 731, 731},
    {"NUMBER negative", kNumberNegative, kSpeedKeyIntel, 731, 731},
    {"NUMBER missing", kNumberMissing, kSpeedKeyIntel, 731, 731},
    {"no mapping section", kNoMapping, kSpeedKeyIntel, 731, 731},
    {"missing start reads as 0", kMissingStart, kSpeedKeyIntel, 1, 750},
    {"empty section name", kEmptySectionName, kSpeedKeyIntel, 731, 731},
};

TEST(SpeedTableTest, SnapsToTheFirstMatchingRange) {
  for (const SnapCase& c : kSnapCases) {
    AgentDirectory agent;
    if (c.ini) agent.WriteIni(c.ini);
    EXPECT_EQ(SnapToNominalSpeed(agent.platform, c.measured, c.vendor), c.expected) << c.what;
  }
}

TEST(SpeedTableTest, ReadOnlyFileIsStillUsed) {
  AgentDirectory agent;
  agent.WriteIni(kTwoVendors);
  fs::permissions(agent.IniPath(),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // Where the file really refuses read-write access (not for root), a
  // read-write open would miss the table.
  if (std::FILE* readWrite = std::fopen(agent.IniPath().string().c_str(), "r+")) {
    std::fclose(readWrite);
    std::printf("note: read-only not enforced for this user\n");
  }
  EXPECT_EQ(SnapToNominalSpeed(agent.platform, 731, kSpeedKeyIntel), 733u);
  EXPECT_EQ(SnapToNominalSpeed(agent.platform, 1650, kSpeedKeyAmd), 1667u);
}

TEST(SpeedTableTest, SectionNameIsTheTailAfterTheKey) {
  struct Case {
    const char* line;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"CPU_INTEL=P4_SPEED", "P4_SPEED"},
      {"CPU_INTEL=", ""},
      {"CPU_INTEL=  spaced ", "  spaced "},
      {"XCPU_INTEL=S", "=S"},  // the tail is measured from the line's start
      {"CPU_INTEL = S", ""},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(FindSpeedSection({"[CPU_INFO]", c.line}, "CPU_INTEL"), c.expected) << c.line;
  }
  // A later mapping header does not restart the search; the first counts.
  EXPECT_EQ(FindSpeedSection({"[CPU_INFO]", "[A]", "[CPU_INFO]", "CPU_INTEL=B"}, "CPU_INTEL"), "B");
  EXPECT_EQ(FindSpeedSection({"CPU_INTEL=A", "[x] [CPU_INFO]"}, "CPU_INTEL"), "");
}

TEST(SpeedTableTest, PathIsBesideTheHostProgram) {
  FakeHostProcess host;
  Platform platform;
  platform.host = &host;
  host.path = "C:\\Program Files\\Agent\\agent.exe";
  EXPECT_EQ(SpeedTablePath(platform), "C:\\Program Files\\Agent\\cpuinfo.ini");
}

// A processor whose counter reports `reads` and then advances by `step`.
struct CountedMachine {
  ScriptedProcessor cpu;
  SteppingTimer timer;
  Platform platform;
  CountedMachine() {
    cpu.SetVendor(1, "GenuineIntel");
    cpu.leaves[1] = {0x673, 0, 0, 0x10};
    platform.processor = &cpu;
    platform.timer = &timer;
  }
};

TEST(MeasureCpuSpeedTest, CountsOverMoreThanOneSecond) {
  struct Case {
    const char* what;
    std::uint32_t timerStart;
    std::uint64_t first, second;
    std::uint32_t expected;
  };
  constexpr Case kCases[] = {
      {"733 MHz part", 5000, 1000, 1000 + 731'400'000, 731},
      {"timer wraps during the second", 0xFFFFFE00u, 0, 2'000'000'000, 2000},
      {"counter above 2^32 per second", 5000, 0xFFFFFF00u, 0xFFFFFF00u + 5'200'000'000u, 5200},
      {"difference of exactly 2^32", 5000, 0x00000000FFFFFF00u, 0x00000001FFFFFF00u, 4294},
      {"counter lower at the end", 5000, 0xFFFFFFFFFFFFFF00u, 0x0000000077359300u, 0},
  };
  for (const Case& c : kCases) {
    CountedMachine m;
    m.timer.now = c.timerStart;
    m.cpu.tscReads = {c.first, c.second};
    EXPECT_EQ(MeasureCpuSpeed(m.platform), c.expected) << c.what;
    // A fresh tick (2 ms), then more than 1000 ms, each read 1 ms apart.
    EXPECT_GE(m.timer.reads, 1003) << c.what;
    EXPECT_LE(m.timer.reads, 1005) << c.what;
  }
}

TEST(MeasureCpuSpeedTest, NoCounterNoMeasurement) {
  CountedMachine m;
  m.cpu.leaves[1].edx = 0;
  m.cpu.tscStep = 700'000'000;
  EXPECT_EQ(MeasureCpuSpeed(m.platform), 0u);
  EXPECT_EQ(m.cpu.tscCalls, 0);

  CountedMachine noTimer;
  noTimer.platform.timer = nullptr;
  noTimer.cpu.tscStep = 700'000'000;
  EXPECT_EQ(MeasureCpuSpeed(noTimer.platform), 0u);

  CountedMachine noCpuid;
  noCpuid.cpu.idFlag = false;
  EXPECT_EQ(MeasureCpuSpeed(noCpuid.platform), 0u);
  EXPECT_EQ(noCpuid.cpu.cpuidCalls, 0);
}

}  // namespace

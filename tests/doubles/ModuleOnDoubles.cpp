#include "doubles/ModuleOnDoubles.h"

#include <stdexcept>

#include "entry/HwInvCall.h"
#include "entry/ModuleRunSteps.h"
#include "entry/RunDriver.h"

namespace fs = std::filesystem;

namespace {

std::string WindowsForm(const fs::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

// What a system reports and lacks. The 9x family exports MoveFileExA as a
// stub; 95 and NT 4.0 have no power library (loading it fails with 126).
struct SystemRow {
  std::uint32_t getVersion;
  std::uint32_t major, minor, build, platformId;
  std::uint8_t productType;
  bool moveFileEx;
  bool powerLibrary;
};

// clang-format off
// GetVersion          major minor build platform product  MoveFileExA  power library
constexpr SystemRow kSystems[] = {
    {versions::kWin95, 4,    0,    950,  1,       0,       false,       false},
    {versions::kWin98, 4,    10,   1998, 1,       0,       false,       true},
    {versions::kNt4,   4,    0,    1381, 2,       1,       true,        false},
    {versions::kWin7,  6,    1,    7601, 2,       1,       true,        true},
};
// clang-format on

}  // namespace

ModuleOnDoubles::ModuleOnDoubles(const fs::path& directory) : dir(directory) {
  fs::remove_all(dir);
  fs::create_directories(dir / "agent" / "Results" / "Backup");
  documentPath = WindowsForm(dir / "AgentHardwareAsset.XML");
  host.path = WindowsForm(dir / "agent" / "agent.exe");

  std::string error;
  Require(LoadWmiFixture(MORV_FIXTURES "/wmi/workstation.wmi", wmi.fixture, error), error);
  Require(registry.LoadFile(MORV_FIXTURES "/registry/nt5.reg", &error), error);
  Require(LoadRecordingFile(MORV_FIXTURES "/cpu/intel-p4-brand9.txt", processor, &error), error);
  version.info = {6, 1, 7601, 2};
  version.info.productType = 1;
  memory.basic = 0x7FFF0000u;
  memory.extended = 8ull << 30;
  drives.drives['C'].totalBytes = 500ull << 30;
  drives.drives['C'].freeBytes = 100ull << 30;
  drives.drives['D'].type = kDriveCdrom;
  power.policy = PowerPolicySnapshot{};
  power.policy->VideoTimeoutAc = 600;

  platform.version = &version;
  platform.com = &com;
  platform.files = &files;
  platform.debug = &debug;
  platform.clock = &clock;
  platform.host = &host;
  platform.metrics = &metrics;
  platform.memory = &memory;
  platform.drives = &drives;
  platform.power = &power;
  platform.profile = &profile;
  platform.registry = &registry;
  platform.processor = &processor.cpu;
  platform.timer = &timer;
  platform.wmi = &wmi;
  platform.dom = &dom;
  app.InitInstance(host);
}

void ModuleOnDoubles::ActAs(std::uint32_t getVersion) {
  for (const SystemRow& row : kSystems) {
    if (row.getVersion != getVersion) continue;
    version.version = getVersion;
    version.info = OsVersionInfo{row.major, row.minor, row.build, row.platformId};
    version.info.productType = row.productType;
    files.moveFileExImplemented = row.moveFileEx;
    if (!row.powerLibrary) {
      power.policy.reset();
      power.lastError = 126;  // ERROR_MOD_NOT_FOUND
    }
    return;
  }
  Require(false, "no system row for this version");
}

int ModuleOnDoubles::Run() {
  ModuleRunSteps steps(platform);
  RunContext run{app, steps, version, com, files, debug};
  return call.Run(run, 1, "fault-injection", documentPath.c_str(), &status, stamp);
}

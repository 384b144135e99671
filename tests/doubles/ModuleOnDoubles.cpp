#include "doubles/ModuleOnDoubles.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// What a system reports through GetVersion and GetVersionExA under the
// wine-run keyword of its name, and what it lacks.
struct SystemRow {
  const char* keyword;
  std::uint32_t getVersion;
  std::uint32_t major, minor, build, platformId;
  std::uint8_t productType;
  std::uint16_t suiteMask;
  bool moveFileEx;
  bool powerLibrary;
};

// clang-format off
// keyword    GetVersion   major minor build platform product suite   MoveFileExA power library
constexpr SystemRow kSystems[] = {
    {"win95",   0xC0000004u, 4,    0,    950,  1,       0,      0,      false,      false},
    {"win98",   0xC0000A04u, 4,    10,   1998, 1,       0,      0,      false,      true},
    {"winme",   0xC0005A04u, 4,    90,   3000, 1,       0,      0,      false,      true},
    {"nt40",    0x05650004u, 4,    0,    1381, 2,       1,      0,      true,       false},
    {"win2k",   0x08930005u, 5,    0,    2195, 2,       1,      0,      true,       true},
    {"winxp",   0x0A280105u, 5,    1,    2600, 2,       1,      0x100,  true,       true},
    {"win2003", 0x0ECE0205u, 5,    2,    3790, 2,       3,      0x100,  true,       true},
    {"vista",   0x17720006u, 6,    0,    6002, 2,       1,      0x100,  true,       true},
    {"win7",    0x1DB10106u, 6,    1,    7601, 2,       3,      0x100,  true,       true},
    {"default", 0x1DB10106u, 6,    1,    7601, 2,       1,      0,      true,       true},
};
// clang-format on

constexpr auto kOverwrite = fs::copy_options::overwrite_existing;

HResult Code(const std::string& word) {
  return static_cast<HResult>(std::stoul(word, nullptr, 16));
}

}  // namespace

std::string WindowsForm(const fs::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

// The process id keeps runs of two builds at once apart.
ModuleOnDoubles::ModuleOnDoubles(const fs::path& directory)
    : dir(directory.string() + "." + std::to_string(::getpid())) {
  fs::remove_all(dir);
  documentPath = WindowsForm(dir / "AgentHardwareAsset.XML");
  Layout(0);
  std::string error;
  Apply("windows win7", dir, error);
  memory.basic = 0x7FFF0000u;
  memory.extended = 8ull << 30;
  drives.drives['C'].totalBytes = 500ull << 30;
  drives.drives['C'].freeBytes = 100ull << 30;
  drives.drives['D'].type = kDriveCdrom;
  power.lastError = 5;

  platform =
      Platform{&version, &com,   &files,   &debug,    &clock,         &host,  &metrics, &memory,
               &drives,  &power, &profile, &registry, &processor.cpu, &timer, &wmi,     &dom};
}

// The host's directory: DIR/agent, or padded to `length` characters in
// Windows form with the executable so deep that the 256th character of its
// path is a backslash (a read of the whole buffer would end there).
void ModuleOnDoubles::Layout(std::size_t length) {
  fs::remove_all(dir / "agent");
  const std::size_t base = WindowsForm(dir).size() + 1;
  hostDir = length ? dir / std::string(length - base, 'h') : dir / "agent";
  const fs::path exe = length ? hostDir / std::string(254 - length, 'x') / "agent" : hostDir;
  fs::create_directories(hostDir / "Results" / "Backup");
  host.path = WindowsForm(exe / "agent.exe");
}

bool ModuleOnDoubles::Apply(const std::string& line, const fs::path& base, std::string& error) {
  std::istringstream in(line);
  std::string verb, a, b, c;
  in >> verb >> a >> b >> c;
  const fs::path file = base / a;
  const auto found = [&](bool ok) { return ok || (error = "cannot use " + file.string(), false); };
  if (verb == "windows") {
    for (const SystemRow& row : kSystems) {
      if (a != row.keyword) continue;
      version.version = row.getVersion;
      version.info = OsVersionInfo{row.major, row.minor, row.build, row.platformId};
      version.info.productType = row.productType;
      version.info.suiteMask = row.suiteMask;
      files.moveFileExImplemented = row.moveFileEx;
      power.policy.reset();
      power.lastError = row.powerLibrary ? 5 : 126;  // ERROR_MOD_NOT_FOUND
      return true;
    }
  } else if (verb == "wmi") {
    wmi.fixture = {};
    return LoadWmiFixture(file.string(), wmi.fixture, error);
  } else if (verb == "wmi-line") {
    return ParseWmiFixture(line.substr(line.find(a)), wmi.fixture, error);
  } else if (verb == "wmi-fault") {
    wmi.SetFaults(line.substr(line.find(verb) + verb.size()));
    return true;
  } else if (verb == "registry") {
    return registry.LoadFile(file.string(), &error);
  } else if (verb == "processor") {
    processor = RecordedProcessor{};
    return LoadRecordingFile(file.string(), processor, &error);
  } else if (verb == "memory") {
    memory.basic = a == "-" ? std::nullopt : std::optional<std::uint32_t>(std::stoul(a));
    memory.extended = b == "-" ? std::nullopt : std::optional<std::uint64_t>(std::stoull(b));
    return true;
  } else if (verb == "drive") {
    FakeDrives::Drive& drive = drives.drives[a.at(0)];
    drive.type = b == "fixed" ? kDriveFixed : b == "cdrom" ? kDriveCdrom : kDriveRemovable;
    drive.exFails = drive.clustersFail = c == "fails";
    return true;
  } else if (verb == "power") {
    power.Set(line.substr(line.find(verb) + verb.size()));
    return true;
  } else if (verb == "previous") {
    const fs::path document = dir / "AgentHardwareAsset.XML";
    return a == "directory" ? fs::create_directory(document)
                            : found(fs::copy_file(file, document, kOverwrite));
  } else if (verb == "leave") {
    return found(fs::copy_file(base / b, dir / a, kOverwrite));
  } else if (verb == "agent-file") {
    return found(fs::copy_file(base / b, hostDir / a));
  } else if (verb == "host-dir") {
    Layout(std::stoul(a));
    return true;
  } else if (verb == "no-staging") {
    fs::remove_all(hostDir / "Results");
    return true;
  } else if (verb == "apartment") {
    com.multithreaded = a == "mta";
    return true;
  } else if (verb == "fault") {
    const int n = b.empty() || !std::isdigit(static_cast<unsigned char>(b[0])) ? 0 : std::stoi(b);
    if (a == "com-entry") return com.initializeResult = Code(b), true;
    if (a == "com-security") return com.securityResult = Code(b), true;
    if (a == "version-ex") return version.exSucceeds = false, true;
    if (a == "version") return version.exSucceeds = version.basicSucceeds = false, true;
    if (a == "attach") return host.throws = true, true;
    if (a == "dom-create") return dom.failCreations.insert(n), true;
    if (a == "dom-throw") return dom.throwCreations.insert(n), true;
    if (a == "dom-save") return dom.failSaves.insert(n), true;
    if (a == "dom-interrupt") return dom.interruptSaves.insert(n), true;
    if (a == "file") {
      if (!c.empty()) files.injectedError = std::stoul(c);
      return files.failOperations.insert(b), true;
    }
    if (a == "reenter") {
      wmi.onQuery = [this] {
        if (!reentered.empty()) return;
        int innerStatus = 5;
        char innerStamp[15] = "inner";
        const int inner =
            CallModule(module_.get(), 0, "other", "other.xml", &innerStatus, innerStamp);
        reentered = std::to_string(inner) + ", status " + std::to_string(innerStatus) +
                    ", timestamp \"" + innerStamp + "\"";
      };
      return true;
    }
  }
  error = "unknown directive: " + line;
  return false;
}

int ModuleOnDoubles::Run(bool withDevice, bool withDocument, bool withStatus, bool withStamp) {
  if (!attached_) module_ = LoadedModule::Attach(platform), attached_ = true;
  status = -7;
  std::snprintf(stamp, sizeof stamp, "-");
  const int result = CallModule(module_.get(), detail, withDevice ? device.c_str() : nullptr,
                                withDocument ? documentPath.c_str() : nullptr,
                                withStatus ? &status : nullptr, withStamp ? stamp : nullptr);
  LocalTime& t = clock.now;
  if (++t.second == 60) t.second = 0, ++t.minute;
  if (t.minute == 60) t.minute = 0, ++t.hour;
  return result;
}

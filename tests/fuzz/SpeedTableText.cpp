// "cpuinfo.ini" of any shape: reading never crashes, and a snapped speed is
// the measured one or the nominal value of a range that holds it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cpu/SpeedTable.h"
#include "doubles/FakePlatform.h"
#include "doubles/ProcessorDoubles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("morv-fuzz-ini-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "cpuinfo.ini", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  FakeHostProcess host;
  host.path = "Z:" + dir.string() + "\\agent.exe";
  HostProfileReader profile;
  Platform platform;
  platform.host = &host;
  platform.profile = &profile;
  for (const char* vendor : {"CPU_INTEL", "CPU_AMD", "CPU_CYRIX"}) {
    const std::vector<SpeedRange> table = LoadSpeedTable(platform, vendor);
    if (table.size() > static_cast<std::size_t>(kMaxSpeedRanges)) std::abort();
    for (const std::uint32_t measured : {0u, 733u, 2099u, 0xFFFFFFFFu}) {
      const std::uint32_t snapped = SnapToNominalSpeed(platform, measured, vendor);
      bool held = snapped == measured;
      for (const SpeedRange& r : table)
        held = held || (r.start <= measured && measured <= r.end && r.nominal == snapped);
      if (!held) std::abort();
    }
  }
  return 0;
}

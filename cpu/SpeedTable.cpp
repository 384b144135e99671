#include "cpu/SpeedTable.h"

#include "platform/FileSystem.h"
#include "platform/HostProcess.h"
#include "platform/ProfileReader.h"

namespace {

constexpr char kFileName[] = "cpuinfo.ini";
constexpr char kMappingHeader[] = "[CPU_INFO]";
constexpr unsigned kHostPathCapacity = 260;

bool IsHeaderLine(const std::string& line) {
  return line.find('[') != std::string::npos && line.find(']') != std::string::npos;
}

bool IsMappingHeader(const std::string& line) {
  return IsHeaderLine(line) && line.find(kMappingHeader) != std::string::npos;
}

}  // namespace

std::string SpeedTablePath(const Platform& platform) {
  std::string dir = platform.host ? platform.host->ExecutablePath(kHostPathCapacity) : "";
  const std::size_t cut = dir.rfind('\\');
  if (cut != std::string::npos) dir.resize(cut);
  return dir + "\\" + kFileName;
}

std::string FindSpeedSection(const std::vector<std::string>& lines, const std::string& vendorKey) {
  // First pass: the ordinal of the first mapping-section header.
  int mappingOrdinal = 0;
  int headers = 0;
  for (const std::string& line : lines) {
    if (!IsHeaderLine(line)) continue;
    ++headers;
    if (IsMappingHeader(line)) {
      mappingOrdinal = headers;
      break;
    }
  }
  if (mappingOrdinal == 0) return {};

  // Second pass: from that header to the end of the file, the first line
  // holding "KEY=" names the section.
  const std::string keyWithEquals = vendorKey + "=";
  bool inMapping = false;
  headers = 0;
  for (const std::string& line : lines) {
    if (IsHeaderLine(line)) {
      ++headers;
      if (headers == mappingOrdinal && IsMappingHeader(line)) inMapping = true;
    }
    if (!inMapping || line.find(keyWithEquals) == std::string::npos) continue;
    return line.substr(keyWithEquals.size());
  }
  return {};
}

std::vector<SpeedRange> LoadSpeedTable(const Platform& platform, const std::string& vendorKey) {
  std::vector<SpeedRange> table;
  if (!platform.profile) return table;
  const std::string path = SpeedTablePath(platform);
  if (platform.files && !platform.files->FindAny(path)) return table;

  // Opened for reading only: a read-only file is a valid table.
  const auto lines = platform.profile->ReadLines(path);
  if (!lines) return table;
  const std::string section = FindSpeedSection(*lines, vendorKey);
  if (section.empty()) return table;

  IProfileReader& profile = *platform.profile;
  const int count = static_cast<int>(profile.ReadProfileInt(section, "NUMBER", 0, path));
  if (count < 1) return table;
  for (int i = 1; i <= count && i <= kMaxSpeedRanges; ++i) {
    const std::string n = std::to_string(i);
    SpeedRange range;
    range.start = profile.ReadProfileInt(section, "SPEED" + n + "_ST", 0, path);
    range.end = profile.ReadProfileInt(section, "SPEED" + n + "_EN", 0, path);
    range.nominal = profile.ReadProfileInt(section, "SPEED" + n, 0, path);
    table.push_back(range);
  }
  return table;
}

std::uint32_t SnapToNominalSpeed(const Platform& platform, std::uint32_t measured,
                                 const char* vendorKey) {
  for (const SpeedRange& range : LoadSpeedTable(platform, vendorKey)) {
    if (range.start <= measured && measured <= range.end) return range.nominal;
  }
  return measured;
}

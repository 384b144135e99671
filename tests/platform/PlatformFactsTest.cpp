// The platform facts read without WMI, by the row tables of
// fixtures/platform: editions, memory, fixed-disk sums and power policy.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "doubles/TableRows.h"
#include "entry/InventorySummary.h"
#include "platform/OsEdition.h"
#include "platform/SystemFacts.h"

namespace {

std::uint64_t Number(const std::string& text) { return std::stoull(text, nullptr, 0); }

TEST(PlatformFactsTest, EditionCodeAndName) {
  RunTable("platform/editions.txt", 9, 2, [](const TableRow& r) {
    FakeVersionInfo version;
    std::sscanf(r[1].c_str(), "%u.%u", &version.info.majorVersion, &version.info.minorVersion);
    version.info.platformId = static_cast<std::uint32_t>(Number(r[0]));
    version.info.productType = static_cast<std::uint8_t>(Number(r[2]));
    version.info.suiteMask = static_cast<std::uint16_t>(Number(r[3]));
    version.exSucceeds = r[5] == "extended";
    version.basicSucceeds = r[5] != "none";
    FakeSystemMetrics metrics;  // only index 86 tells a Tablet PC
    metrics.values = {{85, 1}, {86, static_cast<int>(Number(r[4]))}, {87, 1}};
    FakeRegistry registry;
    registry.LoadText(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\n" +
        (r[6] == "-" ? "" : "\"ProductType\"=\"" + r[6] + "\"\n"));
    std::int32_t code = -7;  // what the caller had
    EXPECT_EQ(GetOsEditionCode(version, metrics, registry, code), r[5] == "none" ? -1 : 0);
    std::string name = "-";
    GetOsEditionName(code, name);
    return TableRow{code == -7 ? "kept" : std::to_string(code), name};
  });
}

TEST(PlatformFactsTest, PhysicalMemory) {
  RunTable("platform/memory.txt", 4, 1, [](const TableRow& r) {
    FakeVersionInfo version;
    version.version = static_cast<std::uint32_t>(Number(r[0]));
    FakeMemoryStatus memory;
    if (r[1] != "-") memory.basic = static_cast<std::uint32_t>(Number(r[1]));
    if (r[2] != "-") memory.extended = Number(r[2]);
    return TableRow{std::to_string(GetTotalPhysicalMemory(version, memory))};
  });
}

TEST(PlatformFactsTest, FixedDiskSums) {
  RunTable("platform/disks.txt", 4, 2, [](const TableRow& r) {
    FakeDrives drives;
    drives.hasEx = r[0] == "yes";
    std::istringstream specs(r[1]);
    for (std::string spec; specs >> spec && spec != "-";) {
      FakeDrives::Drive& d = drives.drives[spec[0]];
      DiskClusters& c = d.clusters;
      std::sscanf(spec.c_str() + 2, "%u:%" SCNu64 ":%" SCNu64 ":%" SCNu64 ":%u/%u/%u/%u", &d.type,
                  &d.totalBytes, &d.freeBytes, &d.availableBytes, &c.sectorsPerCluster,
                  &c.bytesPerSector, &c.freeClusters, &c.totalClusters);
      d.exFails = spec.find(":ex-fails") != spec.npos;
      d.clustersFail = spec.find(":clusters-fail") != spec.npos;
    }
    return TableRow{std::to_string(GetFixedDiskTotalBytes(drives)),
                    std::to_string(GetFixedDiskFreeBytes(drives))};
  });
}

TEST(PlatformFactsTest, PowerPolicy) {
  RunTable("platform/power.txt", 4, 3, [](const TableRow& r) {
    FakePowerPolicy power;
    power.Set(r[0]);
    PowerRecord record{9, 9, 9, 9, 9, 9, 9, 9};
    FakeDebugOutput debug;
    const int result = ReadPowerPolicy(&record, power, debug);
    std::ostringstream fields;
    for (std::uint32_t value :
         {record.Monitor_Ac, record.Monitor_Dc, record.Harddisk_Ac, record.Harddisk_Dc,
          record.Sleep_Ac, record.Sleep_Dc, record.Hibernate_Ac, record.Hibernate_Dc})
      fields << (fields.tellp() ? " " : "") << value;
    return TableRow{std::to_string(result), fields.str(),
                    debug.lines.empty() ? "-" : debug.lines[0]};
  });
}

}  // namespace

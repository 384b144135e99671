#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "entry/InventorySummary.h"
#include "entry/Records.h"

// The asset document's names and layout:
//
//   <?xml version='1.0' encoding='UTF-8' standalone='yes'?>
//   <TS_Root>
//     <Device id=..>
//       <HardwareAsset version="1.0" currentTimestamp=.. previousTimestamp=..>
//         <Class id=.. wmi=.. changed=..>        one per row of kClasses
//           <Property index=.. name=.. [changed=..]>value</Property>

namespace asset {

inline constexpr const char* kFileName = "AgentHardwareAsset.XML";
inline constexpr const char* kVersion = "1.0";

inline constexpr const char* kDeclarationVersion = "1.0";
inline constexpr const char* kDeclarationEncoding = "UTF-8";
inline constexpr const char* kDeclarationStandalone = "yes";

inline constexpr const char* kRootElement = "TS_Root";
inline constexpr const char* kDeviceElement = "Device";
inline constexpr const char* kHardwareAssetElement = "HardwareAsset";
inline constexpr const char* kClassElement = "Class";
inline constexpr const char* kPropertyElement = "Property";

inline constexpr const char* kIdAttribute = "id";
inline constexpr const char* kVersionAttribute = "version";
inline constexpr const char* kCurrentTimestampAttribute = "currentTimestamp";
inline constexpr const char* kPreviousTimestampAttribute = "previousTimestamp";
inline constexpr const char* kWmiAttribute = "wmi";
inline constexpr const char* kChangedAttribute = "changed";
inline constexpr const char* kIndexAttribute = "index";
inline constexpr const char* kNameAttribute = "name";

inline constexpr const char* kSummaryClass = "TCO_Summary";
inline constexpr const char* kPowerClass = "Win32_PowerOption";

enum class Presence { kAlways, kDetail };

struct ClassRow {
  const char* id;
  const char* wmi;
  const char* changed;
  Presence presence;
};

// Document order; binding, and not the order of the store's lists.
// clang-format off
inline constexpr ClassRow kClasses[] = {
    //  id                                   wmi      changed  present
    {kSummaryClass,                         "false", "0",     Presence::kAlways},
    {"Win32_OperatingSystem",               "true",  "1",     Presence::kDetail},
    {"Win32_Processor",                     "true",  "1",     Presence::kDetail},
    {"Win32_PhysicalMemory",                "true",  "1",     Presence::kDetail},
    {"Win32_VideoController",               "true",  "1",     Presence::kDetail},
    {"Win32_DesktopMonitor",                "true",  "1",     Presence::kDetail},
    {"Win32_NetworkAdapter",                "true",  "1",     Presence::kDetail},
    {"Win32_NetworkAdapterConfiguration",   "true",  "1",     Presence::kDetail},
    {"Win32_DiskDrive",                     "true",  "1",     Presence::kDetail},
    {"Win32_LogicalDisk",                   "true",  "1",     Presence::kDetail},
    {"Win32_CDROMDrive",                    "true",  "1",     Presence::kDetail},
    {"Win32_SoundDevice",                   "true",  "1",     Presence::kDetail},
    {kPowerClass,                           "false", "1",     Presence::kDetail},
};
// clang-format on

// One property of a WMI class: its name in the document and the record
// field that holds its value.
template <typename Record>
struct PropertyRow {
  const char* name;
  std::string Record::*field;
};

// clang-format off
inline constexpr PropertyRow<OsRecord> kOsProperties[] = {
    {"Caption", &OsRecord::Caption},
    {"Version", &OsRecord::Version},
    {"BuildNumber", &OsRecord::BuildNumber},
    {"CSDVERSION", &OsRecord::CSDVERSION},
    {"ServicePackMajorVersion", &OsRecord::ServicePackMajorVersion},
    {"ServicePackMinorVersion", &OsRecord::ServicePackMinorVersion},
    {"OSType", &OsRecord::OSType},
    {"OSLanguage", &OsRecord::OSLanguage},
    {"SerialNumber", &OsRecord::SerialNumber},
    {"Locale", &OsRecord::Locale},
    {"CodeSet", &OsRecord::CodeSet},
    {"CurrentTimeZone", &OsRecord::CurrentTimeZone},
    {"InstallDate", &OsRecord::InstallDate},
    {"SystemDrive", &OsRecord::WindowsDirectory},  // the Windows directory, under this name
    {"SystemDirectory", &OsRecord::SystemDirectory},
};

inline constexpr PropertyRow<ProcessorRecord> kProcessorProperties[] = {
    {"Caption", &ProcessorRecord::Caption},
    {"Name", &ProcessorRecord::Name},
    {"ProcessorId", &ProcessorRecord::ProcessorId},
    {"Manufacturer", &ProcessorRecord::Manufacturer},
    {"MaxClockSpeed", &ProcessorRecord::MaxClockSpeed},
    {"L2CacheSize", &ProcessorRecord::L2CacheSize},
};

inline constexpr PropertyRow<MemoryRecord> kMemoryProperties[] = {
    {"Caption", &MemoryRecord::Caption},
    {"BankLabel", &MemoryRecord::BankLabel},
    {"Capacity", &MemoryRecord::Capacity},
    {"FormFactor", &MemoryRecord::FormFactor},
    {"SerialNumber", &MemoryRecord::SerialNumber},
    {"Manufacturer", &MemoryRecord::Manufacturer},
};

inline constexpr PropertyRow<VideoRecord> kVideoProperties[] = {
    {"Caption", &VideoRecord::Caption},
    {"VideoProcessor", &VideoRecord::VideoProcessor},
    {"InstalledDisplayDrivers", &VideoRecord::InstalledDisplayDrivers},
    {"DriverVersion", &VideoRecord::DriverVersion},
    {"AdapterRAM", &VideoRecord::AdapterRAM},
};

inline constexpr PropertyRow<MonitorRecord> kMonitorProperties[] = {
    {"Caption", &MonitorRecord::Caption},
    {"ScreenHeight", &MonitorRecord::ScreenHeight},
    {"ScreenWidth", &MonitorRecord::ScreenWidth},
    {"MonitorManufacturer", &MonitorRecord::MonitorManufacturer},
};

inline constexpr PropertyRow<NetworkAdapterRecord> kNetworkAdapterProperties[] = {
    {"Name", &NetworkAdapterRecord::Name},
    {"Caption", &NetworkAdapterRecord::Caption},
    {"Index", &NetworkAdapterRecord::Index},
    {"MACAddress", &NetworkAdapterRecord::MACAddress},
    {"NetworkAddresses", &NetworkAdapterRecord::NetworkAddresses},
    {"AdapterType", &NetworkAdapterRecord::AdapterType},
    {"Manufacturer", &NetworkAdapterRecord::Manufacturer},
};

inline constexpr PropertyRow<NetworkConfigRecord> kNetworkConfigProperties[] = {
    {"IPAddress", &NetworkConfigRecord::IPAddress},
    {"Index", &NetworkConfigRecord::Index},
    {"DHCPEnabled", &NetworkConfigRecord::DHCPEnabled},
    {"IPSubnet", &NetworkConfigRecord::IPSubnet},
    {"DefaultIPGateway", &NetworkConfigRecord::DefaultIPGateway},
};

inline constexpr PropertyRow<DiskDriveRecord> kDiskDriveProperties[] = {
    {"Caption", &DiskDriveRecord::Caption},
    {"InterfaceType", &DiskDriveRecord::InterfaceType},
    {"Manufacturer", &DiskDriveRecord::Manufacturer},
    {"Model", &DiskDriveRecord::Model},
    {"Size", &DiskDriveRecord::Size},
    {"Partitions", &DiskDriveRecord::Partitions},
};

inline constexpr PropertyRow<LogicalDiskRecord> kLogicalDiskProperties[] = {
    {"Caption", &LogicalDiskRecord::Caption},
    {"VolumeName", &LogicalDiskRecord::VolumeName},
    {"Size", &LogicalDiskRecord::Size},
    {"Description", &LogicalDiskRecord::Description},
    {"FileSystem", &LogicalDiskRecord::FileSystem},
    {"FreeSpace", &LogicalDiskRecord::FreeSpace},
    {"Name", &LogicalDiskRecord::Name},
    {"DriveType", &LogicalDiskRecord::DriveType},
};

inline constexpr PropertyRow<CdromRecord> kCdromProperties[] = {
    {"Name", &CdromRecord::Name},
    {"Description", &CdromRecord::Description},
    {"Manufacturer", &CdromRecord::Manufacturer},
    {"Drive", &CdromRecord::Drive},
};

inline constexpr PropertyRow<SoundRecord> kSoundProperties[] = {
    {"Caption", &SoundRecord::Caption},
    {"Manufacturer", &SoundRecord::Manufacturer},
};
// clang-format on

// Summary rows written once each, with index "1". The processor count is
// the one number among them.
struct SummaryValueRow {
  const char* name;
  std::string InventorySummary::*text;  // null for the processor count
};

inline constexpr SummaryValueRow kSummaryValues[] = {
    {"Win32_OperatingSystem.Caption", &InventorySummary::osCaption},
    {"Win32_Processor.Name", &InventorySummary::cpuName},
    {"Win32_Processor.Count", nullptr},
    {"Win32_PhysicalMemory.TotalCapacity", &InventorySummary::memoryTotal},
    {"Win32_DiskDrive.TotalSize", &InventorySummary::diskTotal},
    {"Win32_DiskDrive.TotalFreeSize", &InventorySummary::diskFree},
};

// Summary rows written once per list entry, with index 1, 2, ...
struct SummaryListRow {
  const char* name;
  std::vector<std::string> InventorySummary::*entries;
};

inline constexpr SummaryListRow kSummaryLists[] = {
    {"Win32_VideoController.Caption", &InventorySummary::videoNames},
    {"Win32_DesktopMonitor.Caption", &InventorySummary::monitorNames},
    {"Win32_CDROMDrive.Name", &InventorySummary::cdromNames},
    {"Win32_SoundDevice.Caption", &InventorySummary::soundNames},
};

// Power time-outs, in seconds in the record and whole minutes in the
// document.
struct PowerRow {
  const char* name;
  std::uint32_t PowerRecord::*seconds;
};

inline constexpr PowerRow kPowerValues[] = {
    {"Monitor_Ac", &PowerRecord::Monitor_Ac},     {"Monitor_Dc", &PowerRecord::Monitor_Dc},
    {"Harddisk_Ac", &PowerRecord::Harddisk_Ac},   {"Harddisk_Dc", &PowerRecord::Harddisk_Dc},
    {"Sleep_Ac", &PowerRecord::Sleep_Ac},         {"Sleep_Dc", &PowerRecord::Sleep_Dc},
    {"Hibernate_Ac", &PowerRecord::Hibernate_Ac}, {"Hibernate_Dc", &PowerRecord::Hibernate_Dc},
};

}  // namespace asset

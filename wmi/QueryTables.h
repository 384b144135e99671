#pragma once
#include "entry/Records.h"
#include "wmi/ClassQuery.h"

// The eleven class queries: query text, then the properties in reading
// order with the field, form and summary effect of each.

namespace query_tables {

using enum Form;
using enum Effect;

// clang-format off
inline constexpr PropertyRow<OsRecord> kOsRows[] = {
    // property                   field                                 form      effect
    {"Caption",                   &OsRecord::Caption,                   Text,     SetOsCaption},
    {"Version",                   &OsRecord::Version,                   Text,     None},
    {"BuildNumber",               &OsRecord::BuildNumber,               Text,     None},
    {"CSDVERSION",                &OsRecord::CSDVERSION,                Text,     None},
    {"ServicePackMajorVersion",   &OsRecord::ServicePackMajorVersion,   Signed,   None},
    {"ServicePackMinorVersion",   &OsRecord::ServicePackMinorVersion,   Signed,   None},
    {"OSType",                    &OsRecord::OSType,                    Signed,   None},
    {"OSLanguage",                &OsRecord::OSLanguage,                Signed,   None},
    {"SerialNumber",              &OsRecord::SerialNumber,              Text,     None},
    {"Locale",                    &OsRecord::Locale,                    Text,     None},
    {"CodeSet",                   &OsRecord::CodeSet,                   Text,     None},
    {"CurrentTimeZone",           &OsRecord::CurrentTimeZone,           Signed16, None},
    {"InstallDate",               &OsRecord::InstallDate,               Text,     None},
    {"WindowsDirectory",          &OsRecord::WindowsDirectory,          Text,     None},
    {"SystemDirectory",           &OsRecord::SystemDirectory,           Text,     None},
};

inline constexpr PropertyRow<ProcessorRecord> kProcessorRows[] = {
    {"Caption",                   &ProcessorRecord::Caption,            Text,     None},
    {"Name",                      &ProcessorRecord::Name,               Text,     NameProcessor},
    {"ProcessorId",               &ProcessorRecord::ProcessorId,        Text,     None},
    {"Manufacturer",              &ProcessorRecord::Manufacturer,       Text,     None},
    {"MaxClockSpeed",             &ProcessorRecord::MaxClockSpeed,      Unsigned, None},
    {"L2CacheSize",               &ProcessorRecord::L2CacheSize,        Unsigned, None},
};

inline constexpr PropertyRow<MemoryRecord> kMemoryRows[] = {
    {"Caption",                   &MemoryRecord::Caption,               Text,     None},
    {"BankLabel",                 &MemoryRecord::BankLabel,             Text,     None},
    {"Capacity",                  &MemoryRecord::Capacity,              Text,     AddToSum},
    {"FormFactor",                &MemoryRecord::FormFactor,            Signed,   None},
    {"SerialNumber",              &MemoryRecord::SerialNumber,          Text,     None},
    {"Manufacturer",              &MemoryRecord::Manufacturer,          Text,     None},
};

inline constexpr PropertyRow<DiskDriveRecord> kDiskDriveRows[] = {
    {"Caption",                   &DiskDriveRecord::Caption,            Text,     None},
    {"InterfaceType",             &DiskDriveRecord::InterfaceType,      Text,     None},
    {"Manufacturer",              &DiskDriveRecord::Manufacturer,       Text,     None},
    {"Model",                     &DiskDriveRecord::Model,              Text,     None},
    {"Size",                      &DiskDriveRecord::Size,               Text,     None},
    {"MediaType",                 nullptr,                              Text,     AddSizeIfFixed},
    {"Partitions",                &DiskDriveRecord::Partitions,         Unsigned, None},
};

inline constexpr PropertyRow<LogicalDiskRecord> kLogicalDiskRows[] = {
    {"Caption",                   &LogicalDiskRecord::Caption,          Text,     None},
    {"VolumeName",                &LogicalDiskRecord::VolumeName,       Text,     None},
    {"Size",                      &LogicalDiskRecord::Size,             Text,     None},
    {"Description",               &LogicalDiskRecord::Description,      Text,     None},
    {"FileSystem",                &LogicalDiskRecord::FileSystem,       Text,     None},
    {"FreeSpace",                 &LogicalDiskRecord::FreeSpace,        Text,     AddToSum},
    {"Name",                      &LogicalDiskRecord::Name,             Text,     None},
    {"DriveType",                 &LogicalDiskRecord::DriveType,        Unsigned, None},
};

inline constexpr PropertyRow<VideoRecord> kVideoRows[] = {
    {"Caption",                   &VideoRecord::Caption,                Text,     AppendName},
    {"VideoProcessor",            &VideoRecord::VideoProcessor,         Text,     None},
    {"InstalledDisplayDrivers",   &VideoRecord::InstalledDisplayDrivers, Text,    None},
    {"DriverVersion",             &VideoRecord::DriverVersion,          Text,     None},
    {"AdapterRAM",                &VideoRecord::AdapterRAM,             Unsigned, None},
};

inline constexpr PropertyRow<MonitorRecord> kMonitorRows[] = {
    {"Caption",                   &MonitorRecord::Caption,              Text,     AppendName},
    {"ScreenHeight",              &MonitorRecord::ScreenHeight,         Signed,   None},
    {"ScreenWidth",               &MonitorRecord::ScreenWidth,          Signed,   None},
    {"MonitorManufacturer",       &MonitorRecord::MonitorManufacturer,  Text,     None},
};

inline constexpr PropertyRow<NetworkAdapterRecord> kNetworkAdapterRows[] = {
    {"Name",                      &NetworkAdapterRecord::Name,          Text,     None},
    {"Caption",                   &NetworkAdapterRecord::Caption,       Text,     None},
    {"Index",                     &NetworkAdapterRecord::Index,         Signed,   None},
    {"MACAddress",                &NetworkAdapterRecord::MACAddress,    Text,     None},
    {"NetworkAddresses",          &NetworkAdapterRecord::NetworkAddresses, FirstElement, None},
    {"AdapterType",               &NetworkAdapterRecord::AdapterType,   Text,     None},
    {"Manufacturer",              &NetworkAdapterRecord::Manufacturer,  Text,     None},
};

inline constexpr PropertyRow<NetworkConfigRecord> kNetworkConfigRows[] = {
    {"IPAddress",                 &NetworkConfigRecord::IPAddress,      FirstElement, None},
    {"Index",                     &NetworkConfigRecord::Index,          Signed,   None},
    {"DHCPEnabled",               &NetworkConfigRecord::DHCPEnabled,    Signed16, None},
    {"IPSubnet",                  &NetworkConfigRecord::IPSubnet,       FirstElement, None},
    {"DefaultIPGateway",          &NetworkConfigRecord::DefaultIPGateway, FirstElement, None},
};

inline constexpr PropertyRow<CdromRecord> kCdromRows[] = {
    {"Name",                      &CdromRecord::Name,                   Text,     AppendName},
    {"Description",               &CdromRecord::Description,            Text,     None},
    {"Manufacturer",              &CdromRecord::Manufacturer,           Text,     None},
    {"Drive",                     &CdromRecord::Drive,                  Text,     None},
};

inline constexpr PropertyRow<SoundRecord> kSoundRows[] = {
    {"Caption",                   &SoundRecord::Caption,                Text,     AppendName},
    {"Manufacturer",              &SoundRecord::Manufacturer,           Text,     None},
};
// clang-format on

inline constexpr ClassQuery<OsRecord> kOperatingSystem{
    .text = "SELECT * FROM Win32_OperatingSystem",
    .list = &CMorvApp::m_listOs,
    .properties = kOsRows,
};

inline constexpr ClassQuery<ProcessorRecord> kProcessor{
    .text =
        "SELECT Caption, Name, ProcessorId, Manufacturer, MaxClockSpeed, L2CacheSize FROM "
        "Win32_Processor",
    .list = &CMorvApp::m_listProcessor,
    .properties = kProcessorRows,
    .preparation = Preparation::ResetProcessorSummary,
};

inline constexpr ClassQuery<MemoryRecord> kPhysicalMemory{
    .text =
        "SELECT Caption, BankLabel, Capacity, FormFactor, SerialNumber, Manufacturer FROM "
        "Win32_PhysicalMemory",
    .list = &CMorvApp::m_listMemory,
    .properties = kMemoryRows,
    .sumTarget = &InventorySummary::memoryTotal,
};

inline constexpr ClassQuery<DiskDriveRecord> kDiskDrive{
    .text =
        "SELECT Caption, InterfaceType, Manufacturer, Model, Size, Partitions, MediaType FROM "
        "Win32_DiskDrive",
    .list = &CMorvApp::m_listDiskDrive,
    .properties = kDiskDriveRows,
    .sumTarget = &InventorySummary::diskTotal,
    .sizeField = &DiskDriveRecord::Size,
};

inline constexpr ClassQuery<LogicalDiskRecord> kLogicalDisk{
    .text =
        "SELECT Caption, VolumeName, Size, Description, FileSystem, FreeSpace, Name, DriveType "
        "FROM Win32_LogicalDisk",
    .list = &CMorvApp::m_listLogicalDisk,
    .properties = kLogicalDiskRows,
    .sumTarget = &InventorySummary::diskFree,
};

inline constexpr ClassQuery<VideoRecord> kVideoController{
    .text = "SELECT * FROM Win32_VideoController where CurrentBitsPerPixel != NULL",
    .list = &CMorvApp::m_listVideo,
    .properties = kVideoRows,
    .names = &InventorySummary::videoNames,
};

inline constexpr ClassQuery<MonitorRecord> kDesktopMonitor{
    .text =
        "SELECT Caption, ScreenHeight, ScreenWidth, MonitorManufacturer FROM "
        "Win32_DesktopMonitor where ScreenWidth != NULL",
    .list = &CMorvApp::m_listMonitor,
    .properties = kMonitorRows,
    .names = &InventorySummary::monitorNames,
};

inline constexpr ClassQuery<NetworkAdapterRecord> kNetworkAdapter{
    .text =
        "SELECT Name, Caption, Index, MACAddress, NetworkAddresses, AdapterType, Manufacturer, "
        "PNPDeviceID FROM Win32_NetworkAdapter",
    .list = &CMorvApp::m_listNetworkAdapter,
    .properties = kNetworkAdapterRows,
    .filter = Filter::PciOrPcmciaBus,
};

inline constexpr ClassQuery<NetworkConfigRecord> kNetworkAdapterConfiguration{
    .text =
        "SELECT IPAddress, Index, DHCPEnabled, IPSubnet, DefaultIPGateway FROM "
        "Win32_NetworkAdapterConfiguration WHERE Index='%s'",
    .list = &CMorvApp::m_listNetworkConfig,
    .properties = kNetworkConfigRows,
};

inline constexpr ClassQuery<CdromRecord> kCDROMDrive{
    .text = "SELECT Name, Description, Manufacturer, Drive FROM Win32_CDROMDrive",
    .list = &CMorvApp::m_listCdrom,
    .properties = kCdromRows,
    .names = &InventorySummary::cdromNames,
};

inline constexpr ClassQuery<SoundRecord> kSoundDevice{
    .text = "SELECT Caption, Manufacturer FROM Win32_SoundDevice",
    .list = &CMorvApp::m_listSound,
    .properties = kSoundRows,
    .names = &InventorySummary::soundNames,
};

}  // namespace query_tables

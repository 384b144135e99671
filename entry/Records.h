#pragma once
#include <cstdint>
#include <string>

// One record per WMI instance. `ordinal` is the 1-based position of the
// instance in its query's results; the text fields hold the properties in
// the document's order and stay empty when WMI did not deliver them.

struct OsRecord {
  std::int32_t ordinal = 0;
  std::string Caption, Version, BuildNumber, CSDVERSION, ServicePackMajorVersion,
      ServicePackMinorVersion, OSType, OSLanguage, SerialNumber, Locale, CodeSet, CurrentTimeZone,
      InstallDate, WindowsDirectory, SystemDirectory;
};

struct ProcessorRecord {
  std::int32_t ordinal = 0;
  std::string Caption, Name, ProcessorId, Manufacturer, MaxClockSpeed, L2CacheSize;
};

struct MemoryRecord {
  std::int32_t ordinal = 0;
  std::string Caption, BankLabel, Capacity, FormFactor, SerialNumber, Manufacturer;
};

struct DiskDriveRecord {
  std::int32_t ordinal = 0;
  std::string Caption, InterfaceType, Manufacturer, Model, Size, Partitions;
};

struct LogicalDiskRecord {
  std::int32_t ordinal = 0;
  std::string Caption, VolumeName, Size, Description, FileSystem, FreeSpace, Name, DriveType;
};

struct VideoRecord {
  std::int32_t ordinal = 0;
  std::string Caption, VideoProcessor, InstalledDisplayDrivers, DriverVersion, AdapterRAM;
};

struct MonitorRecord {
  std::int32_t ordinal = 0;
  std::string Caption, ScreenHeight, ScreenWidth, MonitorManufacturer;
};

struct NetworkAdapterRecord {
  std::int32_t ordinal = 0;
  std::string Name, Caption, Index, MACAddress, NetworkAddresses, AdapterType, Manufacturer;
};

// `ordinal` is that of the adapter whose configuration this is.
struct NetworkConfigRecord {
  std::int32_t ordinal = 0;
  std::string IPAddress, Index, DHCPEnabled, IPSubnet, DefaultIPGateway;
};

struct CdromRecord {
  std::int32_t ordinal = 0;
  std::string Name, Description, Manufacturer, Drive;
};

struct SoundRecord {
  std::int32_t ordinal = 0;
  std::string Caption, Manufacturer;
};

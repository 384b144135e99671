#include "bench/common/StoreFiller.h"

#include <span>
#include <string>

#include "entry/MorvApp.h"

namespace {

template <typename Record>
struct RecordShape {
  RecordList<Record> CMorvApp::*list;
  std::span<std::string Record::*const> fields;
};

constexpr std::string DiskDriveRecord::*kDiskFields[] = {
    &DiskDriveRecord::Caption, &DiskDriveRecord::InterfaceType, &DiskDriveRecord::Manufacturer,
    &DiskDriveRecord::Model,   &DiskDriveRecord::Size,          &DiskDriveRecord::Partitions,
};
constexpr std::string LogicalDiskRecord::*kLogicalFields[] = {
    &LogicalDiskRecord::Caption,     &LogicalDiskRecord::VolumeName, &LogicalDiskRecord::Size,
    &LogicalDiskRecord::Description, &LogicalDiskRecord::FileSystem, &LogicalDiskRecord::FreeSpace,
    &LogicalDiskRecord::Name,        &LogicalDiskRecord::DriveType,
};
constexpr std::string NetworkAdapterRecord::*kAdapterFields[] = {
    &NetworkAdapterRecord::Name,
    &NetworkAdapterRecord::Caption,
    &NetworkAdapterRecord::Index,
    &NetworkAdapterRecord::MACAddress,
    &NetworkAdapterRecord::NetworkAddresses,
    &NetworkAdapterRecord::AdapterType,
    &NetworkAdapterRecord::Manufacturer,
};
constexpr std::string MemoryRecord::*kMemoryFields[] = {
    &MemoryRecord::Caption,    &MemoryRecord::BankLabel,    &MemoryRecord::Capacity,
    &MemoryRecord::FormFactor, &MemoryRecord::SerialNumber, &MemoryRecord::Manufacturer,
};

template <typename Record>
int AppendRecord(CMorvApp& app, const RecordShape<Record>& shape, int serial) {
  Record& record = (app.*shape.list).AppendNew();
  record.ordinal = serial;
  int field = 0;
  for (std::string Record::*member : shape.fields)
    record.*member = "value " + std::to_string(serial) + "." + std::to_string(++field);
  return field;
}

}  // namespace

int FillStore(CMorvApp& app, int properties) {
  app.BeginRun();
  app.m_nDetailMode = 1;
  InventorySummary& summary = *app.m_pSummary;
  summary.osCaption = "Bench Windows";
  summary.cpuName = "Bench Processor";
  summary.processorCount = 1;
  summary.memoryTotal = "536870912";
  summary.diskTotal = "80000000000";
  summary.diskFree = "40000000000";
  summary.videoNames = {"Bench Video"};
  summary.monitorNames = {"Bench Monitor"};

  const RecordShape<DiskDriveRecord> disks{&CMorvApp::m_listDiskDrive, kDiskFields};
  const RecordShape<LogicalDiskRecord> volumes{&CMorvApp::m_listLogicalDisk, kLogicalFields};
  const RecordShape<NetworkAdapterRecord> adapters{&CMorvApp::m_listNetworkAdapter, kAdapterFields};
  const RecordShape<MemoryRecord> banks{&CMorvApp::m_listMemory, kMemoryFields};
  int filled = 0;
  for (int serial = 1; filled < properties; ++serial) {
    switch (serial % 4) {
      case 0:
        filled += AppendRecord(app, disks, serial);
        break;
      case 1:
        filled += AppendRecord(app, volumes, serial);
        break;
      case 2:
        filled += AppendRecord(app, adapters, serial);
        break;
      default:
        filled += AppendRecord(app, banks, serial);
        break;
    }
  }
  return filled;
}

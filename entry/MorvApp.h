#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "entry/InventorySummary.h"
#include "entry/RecordList.h"
#include "entry/Records.h"

class IHostProcess;

// The module's one application object: the values exchanged with the
// caller, the host's directory, and the inventory store that one run
// fills and empties. Touched by one thread at a time.
class CMorvApp {
 public:
  CMorvApp();
  virtual ~CMorvApp();
  CMorvApp(const CMorvApp&) = delete;
  CMorvApp& operator=(const CMorvApp&) = delete;

  // Module load: records the host executable's directory and creates the
  // summary and the power record. Always returns 1.
  virtual int InitInstance(IHostProcess& host);
  // Module unload: empties the store. Returns the framework's exit code, 0.
  virtual int ExitInstance();

  // Frees every record, the summary and the power record. Safe to repeat.
  void ClearStore();
  // Start of a run: an empty store with a fresh summary and power record,
  // whatever an earlier (possibly aborted) run left behind.
  void BeginRun();

  char m_szHostDir[256] = {};
  std::string m_strDeviceId;
  std::int32_t m_nDetailMode = 0;
  std::int32_t m_nStatus = 1;
  std::string m_strTimestamp;
  RecordList<OsRecord> m_listOs;
  RecordList<ProcessorRecord> m_listProcessor;
  RecordList<MemoryRecord> m_listMemory;
  RecordList<DiskDriveRecord> m_listDiskDrive;
  RecordList<LogicalDiskRecord> m_listLogicalDisk;
  RecordList<VideoRecord> m_listVideo;
  RecordList<MonitorRecord> m_listMonitor;
  RecordList<NetworkAdapterRecord> m_listNetworkAdapter;
  RecordList<NetworkConfigRecord> m_listNetworkConfig;
  RecordList<CdromRecord> m_listCdrom;
  RecordList<SoundRecord> m_listSound;
  std::unique_ptr<InventorySummary> m_pSummary;
  std::unique_ptr<PowerRecord> m_pPower;
};

// The directory part of an executable path: the text before its last
// backslash; a path without one stays whole.
std::string HostDirectoryOf(const std::string& executablePath);

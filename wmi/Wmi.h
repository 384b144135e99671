#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "entry/RunSteps.h"
#include "platform/ComEntry.h"

class CMorvApp;
class IWmiConnection;
class IWmiService;

// One run's use of WMI: enters COM and sets the process's COM security,
// then connects to ROOT\CIMV2 and fills the store through the eleven class
// queries. Holds no WMI object between calls.
class CWmi final : public IWmiSession {
 public:
  // A null `service` makes Collect fail as if the locator could not be made.
  CWmi(CMorvApp& app, IVersionInfo& version, IComRuntime& com, IWmiService* service);
  // Leaves COM once if Initialize entered it.
  ~CWmi() override;
  CWmi(const CWmi&) = delete;
  CWmi& operator=(const CWmi&) = delete;

  // 1: COM entered and security set; -23: entered, security set earlier in
  // the process; -2: entered, security failed; -1: COM not entered.
  int Initialize() override;
  // 0, or -21 (locator), -101 (connection), -22 (proxy security) or the
  // failing query's code, -116 to -126. Records appended before a failure
  // stay.
  int Collect() override;

  // 1 on Windows 2000 and on a Windows Vista workstation, else 0.
  int IsWin2000OrVistaClient();

  // Each returns 0, -102 when WMI refuses the query or -103 when an
  // instance is not delivered within the time-out; neither failure leaves
  // a record or a summary value behind.
  int QueryOperatingSystem(IWmiConnection& services);
  int QueryProcessor(IWmiConnection& services);
  int QueryPhysicalMemory(IWmiConnection& services);
  int QueryDiskDrive(IWmiConnection& services);
  int QueryLogicalDisk(IWmiConnection& services);
  int QueryVideoController(IWmiConnection& services);
  int QueryDesktopMonitor(IWmiConnection& services);
  int QueryNetworkAdapter(IWmiConnection& services);
  // The configuration of the adapter whose Index text is given; every
  // record carries the adapter's ordinal.
  int QueryNetworkAdapterConfiguration(IWmiConnection& services, std::string index,
                                       std::int32_t adapterOrdinal);
  int QueryCDROMDrive(IWmiConnection& services);
  int QuerySoundDevice(IWmiConnection& services);

 private:
  // The configuration query for every adapter in the store, in order;
  // stops at the first refusal.
  int QueryEveryAdapterConfiguration(IWmiConnection& services);
  int RunQueries(IWmiConnection& services);

  CMorvApp& app_;
  IVersionInfo& version_;
  IComRuntime& com_;
  IWmiService* service_;
  std::optional<ComEntry> comEntry_;  // left when the session ends
};

#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "entry/PlatformFacts.h"

class CMorvApp;

// One run's WMI connection. Destroying it leaves COM once if Initialize
// entered it.
class IWmiSession {
 public:
  virtual ~IWmiSession() = default;
  // 1 (security set) or -23 (already set) on success; -1 or -2 otherwise.
  virtual int Initialize() = 0;
  // 0 when every query ran, else the code of the first failing step.
  virtual int Collect() = 0;
};

// The operations the run driver calls, one per step of a run.
class IRunSteps {
 public:
  virtual ~IRunSteps() = default;
  virtual std::unique_ptr<IWmiSession> CreateWmiSession(CMorvApp& app) = 0;
  // Writes the edition code into facts.OsEditionCode.
  virtual void GetOsEditionCode(PlatformFacts& facts) = 0;
  // The edition name of a code from 3000 to 3028.
  virtual std::string GetOsEditionName(int code) = 0;
  virtual std::string GetProcessorDescription() = 0;
  virtual std::uint64_t GetTotalPhysicalMemory() = 0;
  virtual std::uint64_t GetFixedDiskTotalBytes() = 0;
  virtual std::uint64_t GetFixedDiskFreeBytes() = 0;
  // The walks append names to the list; their status is not used.
  virtual void FindDisplayAdapterNames(PlatformFacts& facts, std::vector<std::string>& names) = 0;
  virtual void FindMonitorNames(std::vector<std::string>& names, PlatformFacts& facts) = 0;
  virtual void FindCdromNames(PlatformFacts& facts, std::vector<std::string>& names) = 0;
  virtual void ReadPowerPolicy(CMorvApp& app) = 0;
  // 0, -1 or -200; sets app.m_strTimestamp in every case.
  virtual int BuildAssetDocument(CMorvApp& app, const std::string& documentPath) = 0;
  // 0 or a non-zero code; sets app.m_nStatus when the comparison was made.
  virtual int CompareWithPrevious(CMorvApp& app, const std::string& documentPath) = 0;
};

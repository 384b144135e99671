#pragma once
#include <cstdint>

class IVersionInfo;
class IMemoryStatus;
class IDrives;
class IPowerPolicy;
class IDebugOutput;
struct PowerRecord;

// Total physical memory in bytes; 0 when nothing could be read. The NT
// family asks GlobalMemoryStatusEx first (the older call caps its total
// at 2 or 4 GiB), the Windows 95 family GlobalMemoryStatus.
std::uint64_t GetTotalPhysicalMemory(IVersionInfo& version, IMemoryStatus& memory);

// Sums over the fixed drives only; a drive that cannot be queried adds 0.
std::uint64_t GetFixedDiskTotalBytes(IDrives& drives);
std::uint64_t GetFixedDiskFreeBytes(IDrives& drives);

// Fills `record` from the current power policy: 1 when filled or when
// there is no record; 0 (record zeroed, one debug line) when the policy
// cannot be read.
int ReadPowerPolicy(PowerRecord* record, IPowerPolicy& power, IDebugOutput& debug);

#pragma once
#include <cstdint>
#include <optional>

// The two memory-status entry points of kernel32, each looked up by name
// at run time, so either may be missing.
class IMemoryStatus {
 public:
  virtual ~IMemoryStatus() = default;
  // dwTotalPhys of GlobalMemoryStatus (which reports no failure); nullopt
  // when the entry point is missing.
  virtual std::optional<std::uint32_t> GlobalMemoryStatus() = 0;
  // ullTotalPhys of GlobalMemoryStatusEx; nullopt when the entry point is
  // missing or the call fails.
  virtual std::optional<std::uint64_t> GlobalMemoryStatusEx() = 0;
};

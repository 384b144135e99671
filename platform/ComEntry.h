#pragma once
#include <cstdint>

#include "platform/ComRuntime.h"
#include "platform/HResult.h"
#include "platform/VersionInfo.h"

// Enters COM the way the module does everywhere: multithreaded on NT
// builds below 2048, single-threaded otherwise.
inline HResult EnterCom(IVersionInfo& version, IComRuntime& com) {
  constexpr std::uint32_t kMultithreadedBelow = 0x08000000u;
  constexpr std::uint32_t kCoinitMultithreaded = 0;
  return version.GetVersion() < kMultithreadedBelow ? com.InitializeEx(kCoinitMultithreaded)
                                                    : com.Initialize();
}

// One entry into COM on the calling thread. It remembers whether the entry
// succeeded and then leaves COM exactly once when it ends, on every path
// out of its scope, exceptions included; a failed entry is never left.
class ComEntry {
 public:
  ComEntry(IVersionInfo& version, IComRuntime& com) : com_(com), result_(EnterCom(version, com)) {}
  ~ComEntry() {
    if (Entered()) com_.Uninitialize();
  }
  ComEntry(const ComEntry&) = delete;
  ComEntry& operator=(const ComEntry&) = delete;

  bool Entered() const { return Succeeded(result_); }

 private:
  IComRuntime& com_;
  HResult result_;
};

#pragma once
#include "entry/RunDriver.h"

// The export's work, apart from the module's state and lock: one run with
// the caller's arguments, its status and timestamp written back. Null
// texts read as empty, null outputs are not written, and no exception
// leaves: one that escapes the run ends it with result::kInternalError.
//
// The module's lock lets its owning thread in again, so a host that
// dispatches a window message or a COM call while a run waits (in WMI, for
// one) may call the export once more on that thread. Such a call returns
// result::kCalledDuringRun at once and touches nothing: the running call still
// uses the store, its status and its timestamp.
class HwInvCall {
 public:
  int Run(RunContext& run, int detailMode, const char* deviceId, const char* documentPath,
          int* changeStatus, char* timestampOut) noexcept;

 private:
  bool running_ = false;
};

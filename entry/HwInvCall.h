#pragma once
#include "entry/RunDriver.h"

// The export's work, apart from the module's state and lock: one run with
// the caller's arguments, its status and timestamp written back. Null
// texts read as empty, null outputs are not written, and no exception
// leaves: one that escapes the run ends it with kInternalError.
inline constexpr int kInternalError = -999;

int CallGetHWInv(RunContext& run, int detailMode, const char* deviceId, const char* documentPath,
                 int* changeStatus, char* timestampOut) noexcept;

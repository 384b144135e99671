#pragma once

// The result codes GetHWInv hands to the agent, each naming one cause.
// include/Morv.h states the same codes for C callers; every Windows build
// checks at compile time that the two agree (entry/win/MorvHeaderCheck.cpp).
namespace result {
inline constexpr int kOk = 0;
inline constexpr int kSaveFailed = -1;  // also: the staging path does not fit
inline constexpr int kWmiLocator = -21;
inline constexpr int kWmiProxy = -22;
inline constexpr int kWmiInit = -100;
inline constexpr int kWmiConnect = -101;
// The first class query that failed, in collection order.
inline constexpr int kQueryOs = -116;
inline constexpr int kQueryProcessor = -117;
inline constexpr int kQueryMemory = -118;
inline constexpr int kQueryDisk = -119;
inline constexpr int kQueryLogical = -120;
inline constexpr int kQueryVideo = -121;
inline constexpr int kQueryMonitor = -122;
inline constexpr int kQueryAdapter = -123;
inline constexpr int kQueryConfig = -124;
inline constexpr int kQueryCdrom = -125;
inline constexpr int kQuerySound = -126;
inline constexpr int kNoDocument = -200;
inline constexpr int kPreviousUnreadable = -203;
inline constexpr int kStagingUnreadable = -204;  // no longer returned
inline constexpr int kNoSummary = -205;
inline constexpr int kReplaceFailed = -206;
inline constexpr int kCalledDuringRun = -998;  // called again on the running thread
inline constexpr int kInternalError = -999;    // an exception escaped the run
}  // namespace result

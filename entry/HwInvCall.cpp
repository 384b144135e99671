#include "entry/HwInvCall.h"

#include <cstring>

#include "entry/MorvApp.h"
#include "entry/ResultCodes.h"

namespace {

// Marks a call as running for as long as it lasts.
class Running {
 public:
  explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
  ~Running() { flag_ = false; }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

 private:
  bool& flag_;
};

}  // namespace

int HwInvCall::Run(RunContext& run, int detailMode, const char* deviceId, const char* documentPath,
                   int* changeStatus, char* timestampOut) noexcept {
  if (running_) return result::kCalledDuringRun;
  const Running running(running_);
  CMorvApp& app = run.app;
  int result;
  try {
    app.m_nDetailMode = detailMode;
    result = RunInventory(run, deviceId ? deviceId : "", documentPath ? documentPath : "");
  } catch (...) {
    result = result::kInternalError;
  }
  if (changeStatus) *changeStatus = app.m_nStatus;
  if (timestampOut) {
    const std::string& stamp = app.m_strTimestamp;
    std::memcpy(timestampOut, stamp.c_str(), stamp.size() + 1);
  }
  return result;
}

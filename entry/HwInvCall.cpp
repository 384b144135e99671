#include "entry/HwInvCall.h"

#include <cstring>

#include "entry/MorvApp.h"

int CallGetHWInv(RunContext& run, int detailMode, const char* deviceId, const char* documentPath,
                 int* changeStatus, char* timestampOut) noexcept {
  CMorvApp& app = run.app;
  int result;
  try {
    app.m_nDetailMode = detailMode;
    result = RunInventory(run, deviceId ? deviceId : "", documentPath ? documentPath : "");
  } catch (...) {
    result = kInternalError;
  }
  if (changeStatus) *changeStatus = app.m_nStatus;
  if (timestampOut) {
    const std::string& stamp = app.m_strTimestamp;
    std::memcpy(timestampOut, stamp.c_str(), stamp.size() + 1);
  }
  return result;
}

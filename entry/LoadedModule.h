#pragma once
#include <memory>

#include "entry/HwInvCall.h"
#include "entry/MorvApp.h"
#include "platform/Platform.h"

// What the module holds while it is loaded into a process: the application
// object over the platform's services and the export's call state. The DLL
// makes one when it is attached and drops it when it is detached; calls
// are serialised by the DLL.
class LoadedModule {
 public:
  // The module's load: the application object's start. Null when that
  // fails (out of memory, or an exception from the start); the module is
  // then not loaded. Every service of `platform` must be bound and outlive
  // the module.
  static std::unique_ptr<LoadedModule> Attach(const Platform& platform) noexcept;
  // The module's unload.
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  int Call(int detailMode, const char* deviceId, const char* documentPath, int* changeStatus,
           char* timestampOut) noexcept;

 private:
  explicit LoadedModule(const Platform& platform) : platform_(platform) {}

  Platform platform_;
  CMorvApp app_;
  HwInvCall call_;
};

// The export: a call of a module that is not loaded (its attach failed)
// returns result::kInternalError and writes nothing.
int CallModule(LoadedModule* module, int detailMode, const char* deviceId, const char* documentPath,
               int* changeStatus, char* timestampOut) noexcept;

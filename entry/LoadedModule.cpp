#include "entry/LoadedModule.h"

#include "entry/ModuleRunSteps.h"
#include "entry/ResultCodes.h"
#include "entry/RunDriver.h"

std::unique_ptr<LoadedModule> LoadedModule::Attach(const Platform& platform) noexcept {
  try {
    std::unique_ptr<LoadedModule> module(new LoadedModule(platform));
    module->app_.InitInstance(*platform.host);
    return module;
  } catch (...) {
    return nullptr;
  }
}

LoadedModule::~LoadedModule() { app_.ExitInstance(); }

int LoadedModule::Call(int detailMode, const char* deviceId, const char* documentPath,
                       int* changeStatus, char* timestampOut) noexcept {
  const Platform& p = platform_;
  ModuleRunSteps steps(p);
  RunContext run{app_, steps, *p.version, *p.com, *p.files, *p.debug};
  return call_.Run(run, detailMode, deviceId, documentPath, changeStatus, timestampOut);
}

int CallModule(LoadedModule* module, int detailMode, const char* deviceId, const char* documentPath,
               int* changeStatus, char* timestampOut) noexcept {
  if (!module) return result::kInternalError;
  return module->Call(detailMode, deviceId, documentPath, changeStatus, timestampOut);
}

// The DLL's load and unload, and its one export.
#include <new>

#include "entry/HwInvCall.h"
#include "entry/ModuleRunSteps.h"
#include "entry/MorvApp.h"
#include "entry/RunDriver.h"
#include "entry/win/WindowsServices.h"
#include "include/Morv.h"
#include "platform/win/Windows.h"

namespace {

class CriticalSection {
 public:
  CriticalSection() { ::InitializeCriticalSection(&section_); }
  ~CriticalSection() { ::DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { ::EnterCriticalSection(&section_); }
  void Leave() { ::LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class Lock {
 public:
  explicit Lock(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~Lock() { section_.Leave(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CriticalSection& section_;
};

static_assert(kInternalError == MORV_E_INTERNAL && kCalledDuringRun == MORV_E_REENTERED);

// Everything the module holds while it is loaded.
struct Module {
  WindowsServices services;
  CMorvApp app;
  // Calls that overlap would share the store; a call from another thread
  // waits, one from the running thread is turned away by `call`.
  CriticalSection runLock;
  HwInvCall call;
};

Module* g_module = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_module = new (std::nothrow) Module;
      if (!g_module) return FALSE;
      try {
        g_module->app.InitInstance(g_module->services.host);
      } catch (...) {
        delete g_module;
        g_module = nullptr;
        return FALSE;
      }
      return TRUE;
    case DLL_PROCESS_DETACH:
      if (g_module) {
        g_module->app.ExitInstance();
        delete g_module;
        g_module = nullptr;
      }
      return TRUE;
    default:
      return TRUE;
  }
}

extern "C" int __stdcall GetHWInv(int detailMode, const char* deviceId, const char* documentPath,
                                  int* changeStatus, char* timestampOut) {
  if (!g_module) return MORV_E_INTERNAL;
  Module& module = *g_module;
  Lock lock(module.runLock);
  WindowsServices& services = module.services;
  ModuleRunSteps steps(services.platform);
  RunContext run{module.app, steps, services.version, services.com, services.files, services.debug};
  return module.call.Run(run, detailMode, deviceId, documentPath, changeStatus, timestampOut);
}

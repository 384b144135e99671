// The DLL's load and unload, and its one export.
#include <new>

#include "document/win/MsxmlDom.h"
#include "cpu/win/WindowsProcessor.h"
#include "entry/HwInvCall.h"
#include "entry/ModuleRunSteps.h"
#include "entry/MorvApp.h"
#include "entry/RunDriver.h"
#include "include/Morv.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsProfileReader.h"
#include "platform/win/WindowsSystemFacts.h"
#include "registry/win/WindowsRegistry.h"
#include "wmi/win/WindowsWmiService.h"

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

// Everything the module holds while it is loaded.
struct Module {
  WindowsVersionInfo version;
  WindowsComRuntime com;
  WindowsFileSystem files;
  WindowsDebugOutput debug;
  WindowsClock clock;
  WindowsHostProcess host;
  WindowsSystemMetrics metrics;
  WindowsMemoryStatus memory;
  WindowsDrives drives;
  WindowsPowerPolicy power;
  WindowsRegistry registry;
  WindowsWmiService wmi;
  WindowsProcessor processor;
  WindowsTimer timer;
  WindowsProfileReader profile;
  MsxmlDomFactory dom;
  Platform platform;
  CMorvApp app;
  // Calls that overlap would share the store; the second one waits.
  CriticalSection runLock;

  Module() {
    platform.version = &version;
    platform.com = &com;
    platform.files = &files;
    platform.debug = &debug;
    platform.clock = &clock;
    platform.host = &host;
    platform.metrics = &metrics;
    platform.memory = &memory;
    platform.drives = &drives;
    platform.power = &power;
    platform.registry = &registry;
    platform.wmi = &wmi;
    platform.processor = &processor;
    platform.timer = &timer;
    platform.profile = &profile;
    platform.dom = &dom;
  }
};

Module* g_module = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_module = new (std::nothrow) Module;
      if (!g_module) return FALSE;
      try {
        g_module->app.InitInstance(g_module->host);
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
  ModuleRunSteps steps(module.platform);
  RunContext run{module.app, steps, module.version, module.com, module.files, module.debug};
  return CallGetHWInv(run, detailMode, deviceId, documentPath, changeStatus, timestampOut);
}

// The DLL's load and unload, and its one export.
#include <memory>
#include <new>

#include "entry/LoadedModule.h"
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

WindowsServices* g_services = nullptr;
LoadedModule* g_module = nullptr;
// Calls that overlap would share the store; a call from another thread
// waits, one from the running thread is turned away by the module.
CriticalSection g_runLock;

void Detach() {
  delete g_module;
  g_module = nullptr;
  delete g_services;
  g_services = nullptr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_services = new (std::nothrow) WindowsServices;
      if (g_services) g_module = LoadedModule::Attach(g_services->platform).release();
      if (g_module) return TRUE;
      Detach();
      return FALSE;
    case DLL_PROCESS_DETACH:
      Detach();
      return TRUE;
    default:
      return TRUE;
  }
}

extern "C" int __stdcall GetHWInv(int detailMode, const char* deviceId, const char* documentPath,
                                  int* changeStatus, char* timestampOut) {
  Lock lock(g_runLock);
  return CallModule(g_module, detailMode, deviceId, documentPath, changeStatus, timestampOut);
}

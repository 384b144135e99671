#pragma once
// The part of WMI's client interfaces that the module uses, answered by a
// FakeWmiService: IWbemLocator::ConnectServer, IWbemServices::ExecQuery
// (with IClientSecurity, so CoSetProxyBlanket reaches the double),
// IEnumWbemClassObject::Next and IWbemClassObject::Get. Everything else
// returns E_NOTIMPL (WBEM_E_NOT_SUPPORTED where WMI would).
#include <wbemidl.h>

#include <memory>
#include <mutex>

#include "doubles/FakeWmi.h"
#include "platform/win/Windows.h"

// A lock for std::lock_guard; the module's win32-threads runtime has no
// std::mutex.
class ProviderLock {
 public:
  ProviderLock() { ::InitializeCriticalSection(&section_); }
  ~ProviderLock() { ::DeleteCriticalSection(&section_); }
  ProviderLock(const ProviderLock&) = delete;
  ProviderLock& operator=(const ProviderLock&) = delete;
  void lock() { ::EnterCriticalSection(&section_); }
  void unlock() { ::LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

// The double behind every object of the provider, and the lock that keeps
// its records consistent when several threads call.
struct ProviderState {
  ProviderLock lock;
  FakeWmiService service;
};

// A new locator over `state` (which must outlive it), with one reference
// for the caller.
IWbemLocator* NewFixtureLocator(ProviderState& state, std::unique_ptr<IWmiLocator> locator);

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

// The double behind every object of the provider, and the lock that keeps
// its records consistent when several threads call.
struct ProviderState {
  std::mutex lock;
  FakeWmiService service;
};

// A new locator over `state` (which must outlive it), with one reference
// for the caller.
IWbemLocator* NewFixtureLocator(ProviderState& state, std::unique_ptr<IWmiLocator> locator);

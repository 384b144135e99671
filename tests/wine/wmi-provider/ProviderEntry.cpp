// The provider's COM entry points. It stands in for WMI's in-process
// locator (class WbemLocator) when registered under that class's
// InprocServer32 key, and answers from the fixture file named by the
// environment:
//   MORV_WMI_FIXTURE  the fixture (Windows path); unset or unreadable makes
//                     DllGetClassObject fail, so the caller's
//                     CoCreateInstance fails
//   MORV_WMI_FAULTS   optional "locator=HR connect=HR blanket=HR" (hex),
//                     the results of CoCreateInstance, ConnectServer and
//                     CoSetProxyBlanket
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <string>

#include "ComObject.h"
#include "WbemObjects.h"

namespace {

ProviderState* g_state = nullptr;
std::string g_error;

HResult HexResult(const std::string& text) {
  return static_cast<HResult>(std::strtoul(text.c_str(), nullptr, 16));
}

bool ApplyFaults(const char* faults, FakeWmiService& service, std::string& error) {
  std::istringstream words(faults ? faults : "");
  std::string word;
  while (words >> word) {
    const auto equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const HResult value = equals == std::string::npos ? 0 : HexResult(word.substr(equals + 1));
    if (key == "locator") {
      service.locatorResult = value;
    } else if (key == "connect") {
      service.connectResult = value;
    } else if (key == "blanket") {
      service.blanketResult = value;
    } else {
      error = "unknown fault '" + word + "' in MORV_WMI_FAULTS";
      return false;
    }
  }
  return true;
}

// Loaded once per process; a failure is remembered and reported on stderr.
ProviderState* State() {
  static std::once_flag once;
  std::call_once(once, [] {
    const char* path = std::getenv("MORV_WMI_FIXTURE");
    auto state = std::make_unique<ProviderState>();
    if (!path || !*path) {
      g_error = "MORV_WMI_FIXTURE is not set";
    } else if (LoadWmiFixture(path, state->service.fixture, g_error) &&
               ApplyFaults(std::getenv("MORV_WMI_FAULTS"), state->service, g_error)) {
      g_state = state.release();  // lives as long as the process
      return;
    }
    std::fprintf(stderr, "morv-wmi-provider: %s\n", g_error.c_str());
  });
  return g_state;
}

class LocatorFactory final : public IClassFactory, RefCounted {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddReference();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  MORV_PROVIDER_REFCOUNT

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ProviderState* state = State();
    if (!state) return CLASS_E_CLASSNOTAVAILABLE;
    std::unique_ptr<IWmiLocator> locator;
    HRESULT result;
    {
      std::lock_guard<ProviderLock> hold(state->lock);
      result = state->service.CreateLocator(locator);
    }
    if (FAILED(result)) return result;
    IWbemLocator* made = NewFixtureLocator(*state, std::move(locator));
    result = made->QueryInterface(riid, object);
    made->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_WbemLocator) return CLASS_E_CLASSNOTAVAILABLE;
  if (!State()) return CLASS_E_CLASSNOTAVAILABLE;
  LocatorFactory* factory = new LocatorFactory;
  const HRESULT result = factory->QueryInterface(riid, object);
  factory->Release();
  return result;
}

// The state lives for the whole process, so the provider stays loaded.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

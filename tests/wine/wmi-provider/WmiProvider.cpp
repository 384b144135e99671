// The test WMI provider: an in-process COM server that stands in for WMI's
// locator (class WbemLocator) when registered under that class's
// InprocServer32 key, and answers WMI's client interfaces from a fixture
// file through the WMI double of the host tests. Each locator made reads
// the process environment anew, so a caller may change it between runs:
//   MORV_WMI_FIXTURE  the fixture (Windows path); unreadable: no locator
//   MORV_WMI_FAULTS   optional "locator=HR connect=HR blanket=HR", the
//                     results of creating the locator, ConnectServer and
//                     CoSetProxyBlanket
//   MORV_WMI_LOG      optional file each call is appended to, as the double
//                     logs it, once the run's last object is released
// Only IWbemLocator::ConnectServer, IWbemServices::ExecQuery (with
// IClientSecurity::SetBlanket, which CoSetProxyBlanket calls),
// IEnumWbemClassObject::Next and IWbemClassObject::Get answer. The objects
// are built on the C form of the interfaces, whose vtables name their
// methods: any other method called stops the process, so that a caller
// relying on one shows.
#define CINTERFACE
#define CONST_VTABLE
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
//
#include <wbemidl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#include "doubles/FakeWmi.h"

namespace {

std::string Environment(const char* name) {
  char value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  return length < sizeof value ? value : "";
}

std::string ToAnsi(const wchar_t* wide) {
  char text[4096] = {};
  if (wide) ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
  return text;
}

// The text in the ANSI code page as a BSTR; null when out of memory.
BSTR ToBstr(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  const BSTR made = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (made) ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, made, length);
  return made;
}

// One run's double and log, shared by every object made from its locator.
struct Run {
  FakeWmiService service;
  std::string log;
  ~Run() {
    std::FILE* file = log.empty() ? nullptr : std::fopen(log.c_str(), "a");
    for (const std::string& call : file ? service.calls : std::vector<std::string>{})
      std::fprintf(file, "%s\n", call.c_str());
    if (file) std::fclose(file);
  }
};
using RunRef = std::shared_ptr<Run>;

// A fixture value in the variant type WMI uses for it; a type the module
// never reads becomes VT_R8.
HRESULT ToVariant(const WmiValue& value, VARIANT& out) {
  ::VariantClear(&out);
  switch (value.type) {
    case WmiType::Empty:
      return S_OK;
    case WmiType::Null:
      return V_VT(&out) = VT_NULL, S_OK;
    case WmiType::Int32:
      return V_VT(&out) = VT_I4, V_I4(&out) = value.number, S_OK;
    case WmiType::Int16:
      return V_VT(&out) = VT_I2, V_I2(&out) = static_cast<SHORT>(value.number), S_OK;
    case WmiType::Bool:
      return V_VT(&out) = VT_BOOL, V_BOOL(&out) = value.number ? VARIANT_TRUE : VARIANT_FALSE, S_OK;
    case WmiType::String:
      V_BSTR(&out) = ToBstr(value.text);
      return V_BSTR(&out) ? (V_VT(&out) = VT_BSTR, S_OK) : E_OUTOFMEMORY;
    case WmiType::StringArray: {
      SAFEARRAY* array =
          ::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(value.texts.size()));
      if (!array) return E_OUTOFMEMORY;
      V_VT(&out) = VT_ARRAY | VT_BSTR;
      V_ARRAY(&out) = array;
      for (LONG i = 0; i < static_cast<LONG>(value.texts.size()); ++i) {
        // SafeArrayPutElement keeps a copy of the string.
        const BSTR text = ToBstr(value.texts[static_cast<std::size_t>(i)]);
        const HRESULT h = text ? ::SafeArrayPutElement(array, &i, text) : E_OUTOFMEMORY;
        ::SysFreeString(text);
        if (FAILED(h)) return h;
      }
      return S_OK;
    }
    case WmiType::Other:
      return V_VT(&out) = VT_R8, V_R8(&out) = 1.5, S_OK;
  }
  return S_OK;
}

// Fills the slots a vtable leaves empty: it never returns, so the
// arguments it is called with do not matter.
void STDMETHODCALLTYPE Unanswered() {
  std::fputs("morv-wmi-provider: a method it does not answer was called\n", stderr);
  std::abort();
}

// A COM object of T answering Interface (identity kIid) with the methods of
// T::Answer and IUnknown's; every other method stops the process. T may
// answer further interfaces with tear-offs through Other, which hands a
// counted reference. Made with one reference, for its maker.
template <typename T, typename Interface, const IID& kIid>
struct Object : Interface {
  using Vtbl = std::remove_cvref_t<decltype(*Interface::lpVtbl)>;
  explicit Object(RunRef run) : Interface{&kVtbl}, run(std::move(run)) {}
  static T& Of(Interface* self) { return *static_cast<T*>(self); }
  void* Other(REFIID) { return nullptr; }

  static HRESULT STDMETHODCALLTYPE QueryInterface(Interface* self, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    const bool mine = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIid);
    if (mine) AddRef(self);
    *object = mine ? self : Of(self).Other(riid);
    return *object ? S_OK : E_NOINTERFACE;
  }
  static ULONG STDMETHODCALLTYPE AddRef(Interface* self) { return ++Of(self).references; }
  static ULONG STDMETHODCALLTYPE Release(Interface* self) {
    const ULONG left = --Of(self).references;
    if (left == 0) delete &Of(self);
    return left;
  }
  static Vtbl Table() {
    Vtbl table{};
    T::Answer(table);
    table.QueryInterface = QueryInterface;
    table.AddRef = AddRef;
    table.Release = Release;
    using Slot = void(STDMETHODCALLTYPE*)();
    auto* slots = reinterpret_cast<Slot*>(&table);
    for (std::size_t i = 0; i < sizeof table / sizeof(Slot); ++i) {
      if (!slots[i]) slots[i] = Unanswered;
    }
    return table;
  }
  static inline const Vtbl kVtbl = Table();

  std::atomic<ULONG> references{1};
  RunRef run;
};

// The interface `riid` of a new object, whose maker's reference goes.
template <typename Interface>
HRESULT Handed(Interface* made, REFIID riid, void** object) {
  const HRESULT result = made->lpVtbl->QueryInterface(made, riid, object);
  made->lpVtbl->Release(made);
  return result;
}

struct Instance final : Object<Instance, IWbemClassObject, IID_IWbemClassObject> {
  Instance(RunRef run, std::unique_ptr<IWmiInstance> instance)
      : Object(std::move(run)), instance(std::move(instance)) {}
  static void Answer(Vtbl& table) { table.Get = Get; }
  static HRESULT STDMETHODCALLTYPE Get(IWbemClassObject* self, LPCWSTR name, LONG, VARIANT* value,
                                       CIMTYPE* type, LONG* flavor) {
    if (!name) return WBEM_E_INVALID_PARAMETER;
    const WmiValue read = Of(self).instance->Get(ToAnsi(name));
    if (type) *type = CIM_EMPTY;
    if (flavor) *flavor = 0;
    const HRESULT made = value ? ToVariant(read, *value) : S_OK;
    return FAILED(made) ? made : read.result;
  }

  std::unique_ptr<IWmiInstance> instance;
};

struct Enumerator final : Object<Enumerator, IEnumWbemClassObject, IID_IEnumWbemClassObject> {
  Enumerator(RunRef run, std::unique_ptr<IWmiEnumerator> results)
      : Object(std::move(run)), results(std::move(results)) {}
  static void Answer(Vtbl& table) { table.Next = Next; }
  // A class that "never answers" blocks for the whole time-out and then
  // reports WBEM_S_TIMEDOUT; with WBEM_INFINITE it blocks for good.
  static HRESULT STDMETHODCALLTYPE Next(IEnumWbemClassObject* self, LONG timeout, ULONG count,
                                        IWbemClassObject** objects, ULONG* returned) {
    if (!objects || !returned) return WBEM_E_INVALID_PARAMETER;
    Enumerator& e = Of(self);
    for (*returned = 0; *returned < count;) {
      std::unique_ptr<IWmiInstance> instance;
      const WmiNext next = e.results->Next(static_cast<std::uint32_t>(timeout), instance);
      if (e.run->service.waitedForever) ::Sleep(INFINITE);
      if (next == WmiNext::End) return WBEM_S_FALSE;
      if (next == WmiNext::TimedOut) return ::Sleep(static_cast<DWORD>(timeout)), WBEM_S_TIMEDOUT;
      if (next == WmiNext::Failed) return *returned ? WBEM_S_FALSE : WBEM_E_FAILED;
      objects[(*returned)++] = new Instance(e.run, std::move(instance));
    }
    return WBEM_S_NO_ERROR;
  }

  std::unique_ptr<IWmiEnumerator> results;
};

// IClientSecurity of the services, which CoSetProxyBlanket asks for and
// hands the blanket to: a tear-off holding a reference to them.
struct Security final : Object<Security, IClientSecurity, IID_IClientSecurity> {
  Security(RunRef run, IWbemServices* services, IWmiConnection& connection)
      : Object(std::move(run)), services(services), connection(connection) {
    services->lpVtbl->AddRef(services);
  }
  ~Security() { services->lpVtbl->Release(services); }
  static void Answer(Vtbl& table) { table.SetBlanket = SetBlanket; }
  static HRESULT STDMETHODCALLTYPE SetBlanket(IClientSecurity* self, IUnknown*,
                                              DWORD authentication, DWORD authorisation, OLECHAR*,
                                              DWORD level, DWORD impersonation, void*,
                                              DWORD capabilities) {
    return Of(self).connection.SetProxyBlanket(
        {authentication, authorisation, level, impersonation, capabilities});
  }

  IWbemServices* services;
  IWmiConnection& connection;
};

struct Services final : Object<Services, IWbemServices, IID_IWbemServices> {
  Services(RunRef run, std::unique_ptr<IWmiConnection> connection)
      : Object(std::move(run)), connection(std::move(connection)) {}
  static void Answer(Vtbl& table) { table.ExecQuery = ExecQuery; }
  void* Other(REFIID riid) {
    if (!IsEqualIID(riid, IID_IClientSecurity)) return nullptr;
    return static_cast<IClientSecurity*>(new Security(run, this, *connection));
  }
  static HRESULT STDMETHODCALLTYPE ExecQuery(IWbemServices* self, const BSTR language,
                                             const BSTR query, LONG flags, IWbemContext*,
                                             IEnumWbemClassObject** results) {
    if (!results || !language || !query) return WBEM_E_INVALID_PARAMETER;
    *results = nullptr;
    if (::lstrcmpiW(language, L"WQL") != 0) return WBEM_E_INVALID_QUERY_TYPE;
    std::unique_ptr<IWmiEnumerator> enumerator;
    const HRESULT result = Of(self).connection->ExecQuery(ToAnsi(query), flags, enumerator);
    if (SUCCEEDED(result)) *results = new Enumerator(Of(self).run, std::move(enumerator));
    return result;
  }

  std::unique_ptr<IWmiConnection> connection;
};

struct Locator final : Object<Locator, IWbemLocator, IID_IWbemLocator> {
  Locator(RunRef run, std::unique_ptr<IWmiLocator> locator)
      : Object(std::move(run)), locator(std::move(locator)) {}
  static void Answer(Vtbl& table) { table.ConnectServer = ConnectServer; }
  static HRESULT STDMETHODCALLTYPE ConnectServer(IWbemLocator* self, const BSTR ns, const BSTR,
                                                 const BSTR, const BSTR, LONG flags, const BSTR,
                                                 IWbemContext*, IWbemServices** services) {
    if (!services) return WBEM_E_INVALID_PARAMETER;
    *services = nullptr;
    std::unique_ptr<IWmiConnection> connection;
    const HRESULT result = Of(self).locator->ConnectServer(ToAnsi(ns), flags, connection);
    if (FAILED(result)) return result;
    // Only the namespace the fixtures describe exists.
    if (::lstrcmpiW(ns, L"ROOT\\CIMV2") != 0) return WBEM_E_INVALID_NAMESPACE;
    *services = new Services(Of(self).run, std::move(connection));
    return result;
  }

  std::unique_ptr<IWmiLocator> locator;
};

struct LocatorFactory final : Object<LocatorFactory, IClassFactory, IID_IClassFactory> {
  LocatorFactory() : Object(nullptr) {}
  static void Answer(Vtbl& table) {
    table.CreateInstance = CreateInstance;
    table.LockServer = LockServer;
  }
  static HRESULT STDMETHODCALLTYPE CreateInstance(IClassFactory*, IUnknown* outer, REFIID riid,
                                                  void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto run = std::make_shared<Run>();
    std::string error;
    if (!LoadWmiFixture(Environment("MORV_WMI_FIXTURE"), run->service.fixture, error)) {
      std::fprintf(stderr, "morv-wmi-provider: %s\n", error.c_str());
      return CLASS_E_CLASSNOTAVAILABLE;
    }
    run->log = Environment("MORV_WMI_LOG");
    run->service.SetFaults(Environment("MORV_WMI_FAULTS"));
    std::unique_ptr<IWmiLocator> locator;
    if (const HRESULT h = run->service.CreateLocator(locator); FAILED(h)) return h;
    return Handed<IWbemLocator>(new Locator(run, std::move(locator)), riid, object);
  }
  static HRESULT STDMETHODCALLTYPE LockServer(IClassFactory*, BOOL) { return S_OK; }
};

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_WbemLocator)) return CLASS_E_CLASSNOTAVAILABLE;
  return Handed<IClassFactory>(new LocatorFactory, riid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

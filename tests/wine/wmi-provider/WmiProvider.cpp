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
// IClientSecurity, which CoSetProxyBlanket calls), IEnumWbemClassObject::Next
// and IWbemClassObject::Get answer; everything else is not implemented.
#include <wbemidl.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "document/win/ComText.h"
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
  UniqueBstr text;
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
      if (const HRESULT h = ToBstr(value.text, text); FAILED(h)) return h;
      return V_VT(&out) = VT_BSTR, V_BSTR(&out) = text.Release(), S_OK;
    case WmiType::StringArray: {
      SAFEARRAY* array =
          ::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(value.texts.size()));
      if (!array) return E_OUTOFMEMORY;
      V_VT(&out) = VT_ARRAY | VT_BSTR;
      V_ARRAY(&out) = array;
      for (LONG i = 0; i < static_cast<LONG>(value.texts.size()); ++i) {
        // SafeArrayPutElement keeps a copy of the string.
        HRESULT h = ToBstr(value.texts[static_cast<std::size_t>(i)], text);
        if (SUCCEEDED(h)) h = ::SafeArrayPutElement(array, &i, text.Get());
        if (FAILED(h)) return h;
      }
      return S_OK;
    }
    case WmiType::Other:
      return V_VT(&out) = VT_R8, V_R8(&out) = 1.5, S_OK;
  }
  return S_OK;
}

// IUnknown for one or two interfaces; the object is made with one
// reference, for its maker.
template <typename Interface, typename Second = Interface>
class ComObject : public Interface {
 public:
  virtual ~ComObject() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(Interface)) *object = this;
    if (riid == __uuidof(Second)) *object = Self();
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual void* Self() { return this; }

 private:
  std::atomic<ULONG> references_{1};
};

#define MORV_NOT_IMPLEMENTED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

class Instance final : public ComObject<IWbemClassObject> {
 public:
  Instance(RunRef run, std::unique_ptr<IWmiInstance> instance)
      : run_(std::move(run)), instance_(std::move(instance)) {}
  HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type,
                                LONG* flavor) override {
    if (!name) return WBEM_E_INVALID_PARAMETER;
    const WmiValue read = instance_->Get(ToAnsi(name));
    if (type) *type = CIM_EMPTY;
    if (flavor) *flavor = 0;
    const HRESULT made = value ? ToVariant(read, *value) : S_OK;
    return FAILED(made) ? made : read.result;
  }
  MORV_NOT_IMPLEMENTED(GetQualifierSet, IWbemQualifierSet**)
  MORV_NOT_IMPLEMENTED(Put, LPCWSTR, LONG, VARIANT*, CIMTYPE)
  MORV_NOT_IMPLEMENTED(Delete, LPCWSTR)
  MORV_NOT_IMPLEMENTED(GetNames, LPCWSTR, LONG, VARIANT*, SAFEARRAY**)
  MORV_NOT_IMPLEMENTED(BeginEnumeration, LONG)
  MORV_NOT_IMPLEMENTED(Next, LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*)
  MORV_NOT_IMPLEMENTED(EndEnumeration)
  MORV_NOT_IMPLEMENTED(GetPropertyQualifierSet, LPCWSTR, IWbemQualifierSet**)
  MORV_NOT_IMPLEMENTED(Clone, IWbemClassObject**)
  MORV_NOT_IMPLEMENTED(GetObjectText, LONG, BSTR*)
  MORV_NOT_IMPLEMENTED(SpawnDerivedClass, LONG, IWbemClassObject**)
  MORV_NOT_IMPLEMENTED(SpawnInstance, LONG, IWbemClassObject**)
  MORV_NOT_IMPLEMENTED(CompareTo, LONG, IWbemClassObject*)
  MORV_NOT_IMPLEMENTED(GetPropertyOrigin, LPCWSTR, BSTR*)
  MORV_NOT_IMPLEMENTED(InheritsFrom, LPCWSTR)
  MORV_NOT_IMPLEMENTED(GetMethod, LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**)
  MORV_NOT_IMPLEMENTED(PutMethod, LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*)
  MORV_NOT_IMPLEMENTED(DeleteMethod, LPCWSTR)
  MORV_NOT_IMPLEMENTED(BeginMethodEnumeration, LONG)
  MORV_NOT_IMPLEMENTED(NextMethod, LONG, BSTR*, IWbemClassObject**, IWbemClassObject**)
  MORV_NOT_IMPLEMENTED(EndMethodEnumeration)
  MORV_NOT_IMPLEMENTED(GetMethodQualifierSet, LPCWSTR, IWbemQualifierSet**)
  MORV_NOT_IMPLEMENTED(GetMethodOrigin, LPCWSTR, BSTR*)

 private:
  RunRef run_;
  std::unique_ptr<IWmiInstance> instance_;
};

class Enumerator final : public ComObject<IEnumWbemClassObject> {
 public:
  Enumerator(RunRef run, std::unique_ptr<IWmiEnumerator> results)
      : run_(std::move(run)), results_(std::move(results)) {}
  // A class that "never answers" blocks for the whole time-out and then
  // reports WBEM_S_TIMEDOUT; with WBEM_INFINITE it blocks for good.
  HRESULT STDMETHODCALLTYPE Next(LONG timeout, ULONG count, IWbemClassObject** objects,
                                 ULONG* returned) override {
    if (!objects || !returned) return WBEM_E_INVALID_PARAMETER;
    for (*returned = 0; *returned < count;) {
      std::unique_ptr<IWmiInstance> instance;
      const WmiNext next = results_->Next(static_cast<std::uint32_t>(timeout), instance);
      if (run_->service.waitedForever) ::Sleep(INFINITE);
      if (next == WmiNext::End) return WBEM_S_FALSE;
      if (next == WmiNext::TimedOut) return ::Sleep(static_cast<DWORD>(timeout)), WBEM_S_TIMEDOUT;
      if (next == WmiNext::Failed) return *returned ? WBEM_S_FALSE : WBEM_E_FAILED;
      objects[(*returned)++] = new Instance(run_, std::move(instance));
    }
    return WBEM_S_NO_ERROR;
  }
  HRESULT STDMETHODCALLTYPE Reset() override { return WBEM_E_INVALID_OPERATION; }
  MORV_NOT_IMPLEMENTED(NextAsync, ULONG, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(Clone, IEnumWbemClassObject**)
  MORV_NOT_IMPLEMENTED(Skip, LONG, ULONG)

 private:
  RunRef run_;
  std::unique_ptr<IWmiEnumerator> results_;
};

// IWbemServices with IClientSecurity: CoSetProxyBlanket asks for the latter
// and hands the blanket to SetBlanket.
class Services final : public ComObject<IWbemServices, IClientSecurity>, public IClientSecurity {
 public:
  Services(RunRef run, std::unique_ptr<IWmiConnection> connection)
      : run_(std::move(run)), connection_(std::move(connection)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return ComObject::QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ComObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return ComObject::Release(); }

  HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD authentication, DWORD authorisation,
                                       OLECHAR*, DWORD level, DWORD impersonation, void*,
                                       DWORD capabilities) override {
    return connection_->SetProxyBlanket(
        {authentication, authorisation, level, impersonation, capabilities});
  }
  MORV_NOT_IMPLEMENTED(QueryBlanket, IUnknown*, DWORD*, DWORD*, OLECHAR**, DWORD*, DWORD*, void**,
                       DWORD*)
  MORV_NOT_IMPLEMENTED(CopyProxy, IUnknown*, IUnknown**)

  HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR language, const BSTR query, LONG flags,
                                      IWbemContext*, IEnumWbemClassObject** results) override {
    if (!results || !language || !query) return WBEM_E_INVALID_PARAMETER;
    *results = nullptr;
    if (::lstrcmpiW(language, L"WQL") != 0) return WBEM_E_INVALID_QUERY_TYPE;
    std::unique_ptr<IWmiEnumerator> enumerator;
    const HRESULT result = connection_->ExecQuery(ToAnsi(query), flags, enumerator);
    if (SUCCEEDED(result)) *results = new Enumerator(run_, std::move(enumerator));
    return result;
  }
  MORV_NOT_IMPLEMENTED(OpenNamespace, const BSTR, LONG, IWbemContext*, IWbemServices**,
                       IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(CancelAsyncCall, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(QueryObjectSink, LONG, IWbemObjectSink**)
  MORV_NOT_IMPLEMENTED(GetObject, const BSTR, LONG, IWbemContext*, IWbemClassObject**,
                       IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(GetObjectAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(PutClass, IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(PutClassAsync, IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(DeleteClass, const BSTR, LONG, IWbemContext*, IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(DeleteClassAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(CreateClassEnum, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**)
  MORV_NOT_IMPLEMENTED(CreateClassEnumAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(PutInstance, IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(PutInstanceAsync, IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(DeleteInstance, const BSTR, LONG, IWbemContext*, IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(DeleteInstanceAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(CreateInstanceEnum, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**)
  MORV_NOT_IMPLEMENTED(CreateInstanceEnumAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(ExecQueryAsync, const BSTR, const BSTR, LONG, IWbemContext*,
                       IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(ExecNotificationQuery, const BSTR, const BSTR, LONG, IWbemContext*,
                       IEnumWbemClassObject**)
  MORV_NOT_IMPLEMENTED(ExecNotificationQueryAsync, const BSTR, const BSTR, LONG, IWbemContext*,
                       IWbemObjectSink*)
  MORV_NOT_IMPLEMENTED(ExecMethod, const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                       IWbemClassObject**, IWbemCallResult**)
  MORV_NOT_IMPLEMENTED(ExecMethodAsync, const BSTR, const BSTR, LONG, IWbemContext*,
                       IWbemClassObject*, IWbemObjectSink*)

 private:
  void* Self() override { return static_cast<IClientSecurity*>(this); }

  RunRef run_;
  std::unique_ptr<IWmiConnection> connection_;
};

class Locator final : public ComObject<IWbemLocator> {
 public:
  Locator(RunRef run, std::unique_ptr<IWmiLocator> locator)
      : run_(std::move(run)), locator_(std::move(locator)) {}
  HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR ns, const BSTR, const BSTR, const BSTR,
                                          LONG flags, const BSTR, IWbemContext*,
                                          IWbemServices** services) override {
    if (!services) return WBEM_E_INVALID_PARAMETER;
    *services = nullptr;
    std::unique_ptr<IWmiConnection> connection;
    const HRESULT result = locator_->ConnectServer(ToAnsi(ns), flags, connection);
    if (FAILED(result)) return result;
    // Only the namespace the fixtures describe exists.
    if (::lstrcmpiW(ns, L"ROOT\\CIMV2") != 0) return WBEM_E_INVALID_NAMESPACE;
    *services = new Services(run_, std::move(connection));
    return result;
  }

 private:
  RunRef run_;
  std::unique_ptr<IWmiLocator> locator_;
};

class LocatorFactory final : public ComObject<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
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
    IWbemLocator* made = new Locator(run, std::move(locator));
    const HRESULT result = made->QueryInterface(riid, object);
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
  LocatorFactory* factory = new LocatorFactory;
  const HRESULT result = factory->QueryInterface(riid, object);
  factory->Release();
  return result;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

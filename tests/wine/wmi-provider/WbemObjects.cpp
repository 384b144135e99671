#include "WbemObjects.h"

#include <utility>

#include "ComObject.h"
#include "ValueVariant.h"

namespace {

template <typename Interface>
HRESULT Answer(Interface* self, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == __uuidof(IUnknown) || riid == __uuidof(Interface)) {
    *object = self;
    self->AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

class FixtureObject final : public IWbemClassObject, RefCounted {
 public:
  FixtureObject(ProviderState& state, std::unique_ptr<IWmiInstance> instance)
      : state_(state), instance_(std::move(instance)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return Answer<IWbemClassObject>(this, riid, object);
  }
  MORV_PROVIDER_REFCOUNT

  HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type,
                                LONG* flavor) override {
    if (!name) return WBEM_E_INVALID_PARAMETER;
    WmiValue read;
    {
      std::lock_guard<ProviderLock> hold(state_.lock);
      read = instance_->Get(ToAnsi(name));
    }
    if (type) *type = CIM_EMPTY;
    if (flavor) *flavor = 0;
    if (value) {
      const HRESULT made = ToVariant(read, *value);
      if (FAILED(made)) return made;
    }
    return read.result;
  }

  HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EndEnumeration() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR, LONG, IWbemClassObject**,
                                      IWbemClassObject**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*,
                                      IWbemClassObject*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**,
                                       IWbemClassObject**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) override { return E_NOTIMPL; }

 private:
  ProviderState& state_;
  std::unique_ptr<IWmiInstance> instance_;
};

class FixtureEnumerator final : public IEnumWbemClassObject, RefCounted {
 public:
  FixtureEnumerator(ProviderState& state, std::unique_ptr<IWmiEnumerator> results)
      : state_(state), results_(std::move(results)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return Answer<IEnumWbemClassObject>(this, riid, object);
  }
  MORV_PROVIDER_REFCOUNT

  // A class that "never answers" blocks for the whole time-out and then
  // reports WBEM_S_TIMEDOUT; with WBEM_INFINITE it blocks for good, as a
  // hung provider does.
  HRESULT STDMETHODCALLTYPE Next(LONG timeout, ULONG count, IWbemClassObject** objects,
                                 ULONG* returned) override {
    if (!objects || !returned) return WBEM_E_INVALID_PARAMETER;
    *returned = 0;
    const auto timeoutMs = static_cast<std::uint32_t>(timeout);
    while (*returned < count) {
      std::unique_ptr<IWmiInstance> instance;
      WmiNext next;
      bool forever;
      {
        std::lock_guard<ProviderLock> hold(state_.lock);
        state_.service.waitedForever = false;
        next = results_->Next(timeoutMs, instance);
        forever = state_.service.waitedForever;
      }
      if (forever) ::Sleep(INFINITE);
      switch (next) {
        case WmiNext::Instance:
          objects[(*returned)++] = new FixtureObject(state_, std::move(instance));
          continue;
        case WmiNext::End:
          return WBEM_S_FALSE;
        case WmiNext::TimedOut:
          ::Sleep(timeoutMs);
          return WBEM_S_TIMEDOUT;
        case WmiNext::Failed:
          return *returned ? WBEM_S_FALSE : WBEM_E_FAILED;
      }
    }
    return WBEM_S_NO_ERROR;
  }

  HRESULT STDMETHODCALLTYPE Reset() override { return WBEM_E_INVALID_OPERATION; }
  HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Skip(LONG, ULONG) override { return E_NOTIMPL; }

 private:
  ProviderState& state_;
  std::unique_ptr<IWmiEnumerator> results_;
};

// IWbemServices and IClientSecurity on one object: CoSetProxyBlanket asks
// for IClientSecurity and hands the blanket to SetBlanket.
class FixtureServices final : public IWbemServices, public IClientSecurity, RefCounted {
 public:
  FixtureServices(ProviderState& state, std::unique_ptr<IWmiConnection> connection)
      : state_(state), connection_(std::move(connection)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IClientSecurity)) {
      *object = static_cast<IClientSecurity*>(this);
      AddReference();
      return S_OK;
    }
    return Answer<IWbemServices>(this, riid, object);
  }
  MORV_PROVIDER_REFCOUNT

  HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD*, DWORD*, OLECHAR**, DWORD*, DWORD*,
                                         void**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD authentication, DWORD authorisation,
                                       OLECHAR*, DWORD level, DWORD impersonation, void*,
                                       DWORD capabilities) override {
    const ProxyBlanket blanket{authentication, authorisation, level, impersonation, capabilities};
    std::lock_guard<ProviderLock> hold(state_.lock);
    return connection_->SetProxyBlanket(blanket);
  }
  HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR language, const BSTR query, LONG flags,
                                      IWbemContext*, IEnumWbemClassObject** results) override {
    if (!results || !language || !query) return WBEM_E_INVALID_PARAMETER;
    *results = nullptr;
    if (::lstrcmpiW(language, L"WQL") != 0) return WBEM_E_INVALID_QUERY_TYPE;
    std::unique_ptr<IWmiEnumerator> enumerator;
    HRESULT result;
    {
      std::lock_guard<ProviderLock> hold(state_.lock);
      result = connection_->ExecQuery(ToAnsi(query), flags, enumerator);
    }
    if (FAILED(result)) return result;
    *results = new FixtureEnumerator(state_, std::move(enumerator));
    return result;
  }

  HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR, LONG, IWbemContext*, IWbemServices**,
                                          IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG, IWbemObjectSink**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetObject(const BSTR, LONG, IWbemContext*, IWbemClassObject**,
                                      IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR, LONG, IWbemContext*,
                                           IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject*, LONG, IWbemContext*,
                                     IWbemCallResult**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject*, LONG, IWbemContext*,
                                          IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR, LONG, IWbemContext*,
                                        IWbemCallResult**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR, LONG, IWbemContext*,
                                             IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR, LONG, IWbemContext*,
                                            IEnumWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR, LONG, IWbemContext*,
                                                 IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject*, LONG, IWbemContext*,
                                        IWbemCallResult**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject*, LONG, IWbemContext*,
                                             IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR, LONG, IWbemContext*,
                                           IWbemCallResult**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR, LONG, IWbemContext*,
                                                IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR, LONG, IWbemContext*,
                                               IEnumWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR, LONG, IWbemContext*,
                                                    IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                           IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                                  IEnumWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                                       IWbemObjectSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR, const BSTR, LONG, IWbemContext*,
                                       IWbemClassObject*, IWbemClassObject**,
                                       IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                            IWbemClassObject*, IWbemObjectSink*) override {
    return E_NOTIMPL;
  }

 private:
  ProviderState& state_;
  std::unique_ptr<IWmiConnection> connection_;
};

class FixtureLocator final : public IWbemLocator, RefCounted {
 public:
  FixtureLocator(ProviderState& state, std::unique_ptr<IWmiLocator> locator)
      : state_(state), locator_(std::move(locator)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return Answer<IWbemLocator>(this, riid, object);
  }
  MORV_PROVIDER_REFCOUNT

  HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR ns, const BSTR, const BSTR, const BSTR,
                                          LONG securityFlags, const BSTR, IWbemContext*,
                                          IWbemServices** services) override {
    if (!services) return WBEM_E_INVALID_PARAMETER;
    *services = nullptr;
    const std::string name = ToAnsi(ns);
    std::unique_ptr<IWmiConnection> connection;
    HRESULT result;
    {
      std::lock_guard<ProviderLock> hold(state_.lock);
      result = locator_->ConnectServer(name, securityFlags, connection);
    }
    if (FAILED(result)) return result;
    // Only the namespace the fixtures describe exists.
    if (::lstrcmpiA(name.c_str(), "ROOT\\CIMV2") != 0) return WBEM_E_INVALID_NAMESPACE;
    *services = new FixtureServices(state_, std::move(connection));
    return result;
  }

 private:
  ProviderState& state_;
  std::unique_ptr<IWmiLocator> locator_;
};

}  // namespace

IWbemLocator* NewFixtureLocator(ProviderState& state, std::unique_ptr<IWmiLocator> locator) {
  return new FixtureLocator(state, std::move(locator));
}

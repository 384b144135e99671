#include "wmi/win/WindowsWmiService.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <wrl/client.h>

#include <utility>

#include "platform/win/Handles.h"
#include "platform/win/Windows.h"

using Microsoft::WRL::ComPtr;

namespace {

struct BstrTraits {
  using Handle = BSTR;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::SysFreeString(h); }
};
using UniqueBstr = UniqueHandle<BstrTraits>;

// A VARIANT cleared on every path.
class ScopedVariant {
 public:
  ScopedVariant() { ::VariantInit(&value_); }
  ~ScopedVariant() { ::VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* Receive() {
    ::VariantClear(&value_);
    return &value_;
  }
  const VARIANT& Get() const { return value_; }

 private:
  VARIANT value_;
};

// Up to the first NUL, in the ANSI code page.
std::string ToAnsi(const wchar_t* wide) {
  if (!wide) return {};
  const int length = ::lstrlenW(wide);
  if (length == 0) return {};
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, length, text.data(), size, nullptr, nullptr);
  return text;
}

// An ANSI text as a BSTR; null when it cannot be made.
UniqueBstr ToBstr(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int size = length ? ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
  if (length && size <= 0) return UniqueBstr();
  UniqueBstr bstr(::SysAllocStringLen(nullptr, static_cast<UINT>(size)));
  if (bstr && size) ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, bstr.Get(), size);
  return bstr;
}

std::vector<std::string> StringsOf(SAFEARRAY* array) {
  std::vector<std::string> texts;
  LONG lower = 0, upper = -1;
  if (!array || ::SafeArrayGetDim(array) != 1 || FAILED(::SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(::SafeArrayGetUBound(array, 1, &upper)))
    return texts;
  for (LONG i = lower; i <= upper; ++i) {
    UniqueBstr element;
    // A copy of the element, freed by its owner.
    if (FAILED(::SafeArrayGetElement(array, &i, element.Receive()))) element.Reset();
    texts.push_back(ToAnsi(element.Get()));
  }
  return texts;
}

WmiValue ValueOf(HRESULT result, const VARIANT& v) {
  WmiValue value;
  value.result = result;
  switch (V_VT(&v)) {
    case VT_EMPTY:
      value.type = WmiType::Empty;
      break;
    case VT_NULL:
      value.type = WmiType::Null;
      break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
      value.type = WmiType::Int32;
      value.number = V_I4(&v);
      break;
    case VT_UI2:
      value.type = WmiType::Int32;
      value.number = V_UI2(&v);
      break;
    case VT_UI1:
      value.type = WmiType::Int32;
      value.number = V_UI1(&v);
      break;
    case VT_I1:
      value.type = WmiType::Int32;
      value.number = V_I1(&v);
      break;
    case VT_I2:
      value.type = WmiType::Int16;
      value.number = V_I2(&v);
      break;
    case VT_BOOL:
      value.type = WmiType::Bool;
      value.number = V_BOOL(&v);
      break;
    case VT_BSTR:
      value.type = WmiType::String;
      value.text = ToAnsi(V_BSTR(&v));
      break;
    case VT_ARRAY | VT_BSTR:
      value.type = WmiType::StringArray;
      value.texts = StringsOf(V_ARRAY(&v));
      break;
    default:
      value.type = WmiType::Other;
      break;
  }
  return value;
}

class WindowsWmiInstance final : public IWmiInstance {
 public:
  explicit WindowsWmiInstance(ComPtr<IWbemClassObject> object) : object_(std::move(object)) {}

  WmiValue Get(const std::string& name) override {
    UniqueBstr wideName = ToBstr(name);
    ScopedVariant value;
    if (!wideName) return ValueOf(E_OUTOFMEMORY, value.Get());
    const HRESULT result = object_->Get(wideName.Get(), 0, value.Receive(), nullptr, nullptr);
    return ValueOf(result, value.Get());
  }

 private:
  ComPtr<IWbemClassObject> object_;
};

class WindowsWmiEnumerator final : public IWmiEnumerator {
 public:
  explicit WindowsWmiEnumerator(ComPtr<IEnumWbemClassObject> results)
      : results_(std::move(results)) {}

  WmiNext Next(std::uint32_t timeoutMs, std::unique_ptr<IWmiInstance>& instance) override {
    instance.reset();
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    const HRESULT result = results_->Next(static_cast<long>(static_cast<std::int32_t>(timeoutMs)),
                                          1, object.GetAddressOf(), &returned);
    if (FAILED(result)) return WmiNext::Failed;
    if (returned == 0 || !object)
      return result == WBEM_S_TIMEDOUT ? WmiNext::TimedOut : WmiNext::End;
    instance = std::make_unique<WindowsWmiInstance>(std::move(object));
    return WmiNext::Instance;
  }

 private:
  ComPtr<IEnumWbemClassObject> results_;
};

class WindowsWmiConnection final : public IWmiConnection {
 public:
  explicit WindowsWmiConnection(ComPtr<IWbemServices> services) : services_(std::move(services)) {}

  HResult SetProxyBlanket(const ProxyBlanket& blanket) override {
    return ::CoSetProxyBlanket(services_.Get(), blanket.authenticationService,
                               blanket.authorisationService, nullptr, blanket.authenticationLevel,
                               blanket.impersonationLevel, nullptr, blanket.capabilities);
  }

  HResult ExecQuery(const std::string& query, std::int32_t flags,
                    std::unique_ptr<IWmiEnumerator>& enumerator) override {
    enumerator.reset();
    UniqueBstr language(::SysAllocString(L"WQL"));
    UniqueBstr text = ToBstr(query);
    if (!language || !text) return E_OUTOFMEMORY;
    ComPtr<IEnumWbemClassObject> results;
    const HRESULT result =
        services_->ExecQuery(language.Get(), text.Get(), flags, nullptr, results.GetAddressOf());
    if (FAILED(result)) return result;
    if (!results) return WBEM_E_FAILED;
    enumerator = std::make_unique<WindowsWmiEnumerator>(std::move(results));
    return result;
  }

 private:
  ComPtr<IWbemServices> services_;
};

class WindowsWmiLocator final : public IWmiLocator {
 public:
  explicit WindowsWmiLocator(ComPtr<IWbemLocator> locator) : locator_(std::move(locator)) {}

  HResult ConnectServer(const std::string& ns, std::int32_t securityFlags,
                        std::unique_ptr<IWmiConnection>& connection) override {
    connection.reset();
    UniqueBstr wideNamespace = ToBstr(ns);
    if (!wideNamespace) return E_OUTOFMEMORY;
    ComPtr<IWbemServices> services;
    const HRESULT result =
        locator_->ConnectServer(wideNamespace.Get(), nullptr, nullptr, nullptr, securityFlags,
                                nullptr, nullptr, services.GetAddressOf());
    if (FAILED(result)) return result;
    if (!services) return WBEM_E_FAILED;
    connection = std::make_unique<WindowsWmiConnection>(std::move(services));
    return result;
  }

 private:
  ComPtr<IWbemLocator> locator_;
};

}  // namespace

HResult WindowsWmiService::CreateLocator(std::unique_ptr<IWmiLocator>& locator) {
  locator.reset();
  ComPtr<IWbemLocator> created;
  const HRESULT result =
      ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                         reinterpret_cast<void**>(created.GetAddressOf()));
  if (FAILED(result)) return result;
  if (!created) return E_POINTER;
  locator = std::make_unique<WindowsWmiLocator>(std::move(created));
  return result;
}

#include "bench/win/FloorClient.h"

// clang-format off
#include "platform/win/Windows.h"
#include <objbase.h>
#include <wbemidl.h>
#include <wrl/client.h>
// clang-format on

#include <string>
#include <string_view>
#include <vector>

#include "wmi/QueryTables.h"

using Microsoft::WRL::ComPtr;

namespace {

std::wstring Wide(std::string_view text) {
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

class Bstr {
 public:
  explicit Bstr(std::string_view text) : value_(::SysAllocString(Wide(text).c_str())) {}
  ~Bstr() { ::SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

// Reads one property; keeps the value's text in `text` when asked to.
void ReadProperty(IWbemClassObject& instance, const char* name, std::string* text = nullptr) {
  VARIANT value;
  ::VariantInit(&value);
  if (SUCCEEDED(instance.Get(Wide(name).c_str(), 0, &value, nullptr, nullptr)) && text) {
    if (value.vt == VT_I4) *text = std::to_string(static_cast<std::uint32_t>(value.lVal));
    if (value.vt == VT_BSTR && value.bstrVal)
      for (const wchar_t* c = value.bstrVal; *c; ++c) text->push_back(static_cast<char>(*c));
  }
  ::VariantClear(&value);
}

// Runs one query and reads `properties` of every instance. `extra` is one
// more property read first (the adapters' bus), `keep` a property whose
// text is kept per instance.
template <typename Record>
bool RunQuery(IWbemServices& services, const std::string& text, const ClassQuery<Record>& query,
              std::vector<std::string>* kept = nullptr, const char* keep = nullptr) {
  const Bstr language("WQL"), statement(text);
  ComPtr<IEnumWbemClassObject> results;
  if (FAILED(services.ExecQuery(language.get(), statement.get(),
                                WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                &results)) ||
      !results)
    return false;
  for (;;) {
    ComPtr<IWbemClassObject> instance;
    ULONG returned = 0;
    if (results->Next(kInstanceTimeoutMs, 1, &instance, &returned) != WBEM_S_NO_ERROR ||
        returned == 0)
      break;
    if (query.filter == Filter::PciOrPcmciaBus) {
      // The module keeps adapters on a PCI or PCMCIA bus only.
      std::string bus;
      ReadProperty(*instance.Get(), "PNPDeviceID", &bus);
      const std::string upper = UpperCased(bus);
      if (upper.find("PCI") == std::string::npos && upper.find("PCMCIA") == std::string::npos)
        continue;
    }
    for (const PropertyRow<Record>& row : query.properties) {
      std::string value;
      const bool keepThis = kept && std::string_view(row.property) == keep;
      ReadProperty(*instance.Get(), row.property, keepThis ? &value : nullptr);
      if (keepThis) kept->push_back(value);
    }
  }
  return true;
}

int RunQueries(IWbemServices& services) {
  using namespace query_tables;
  int ran = 0;
  auto step = [&](bool ok) {
    if (ok) ++ran;
    return ok;
  };
  std::vector<std::string> indexes;
  if (!step(RunQuery(services, kOperatingSystem.text, kOperatingSystem)) ||
      !step(RunQuery(services, kProcessor.text, kProcessor)) ||
      !step(RunQuery(services, kPhysicalMemory.text, kPhysicalMemory)) ||
      !step(RunQuery(services, kDiskDrive.text, kDiskDrive)) ||
      !step(RunQuery(services, kLogicalDisk.text, kLogicalDisk)) ||
      !step(RunQuery(services, kVideoController.text, kVideoController)) ||
      !step(RunQuery(services, kDesktopMonitor.text, kDesktopMonitor)) ||
      !step(RunQuery(services, kNetworkAdapter.text, kNetworkAdapter, &indexes, "Index")))
    return ran;
  const std::string_view format = kNetworkAdapterConfiguration.text;
  const std::size_t at = format.find("%s");
  for (const std::string& index : indexes) {
    const std::string text =
        std::string(format.substr(0, at)) + index + std::string(format.substr(at + 2));
    if (!RunQuery(services, text, kNetworkAdapterConfiguration)) return ran;
  }
  ++ran;
  if (!step(RunQuery(services, kCDROMDrive.text, kCDROMDrive))) return ran;
  step(RunQuery(services, kSoundDevice.text, kSoundDevice));
  return ran;
}

}  // namespace

int RunFloorClient() {
  // The module's rule: multithreaded on NT builds below 2048.
  const HRESULT entered = ::GetVersion() < 0x08000000u
                              ? ::CoInitializeEx(nullptr, COINIT_MULTITHREADED)
                              : ::CoInitialize(nullptr);
  if (FAILED(entered)) return -1;
  int ran = -1;
  {
    ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    const Bstr space("ROOT\\CIMV2");
    if (SUCCEEDED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IWbemLocator, &locator)) &&
        SUCCEEDED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr,
                                         WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr,
                                         &services)) &&
        SUCCEEDED(::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                      RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                      EOAC_NONE)))
      ran = RunQueries(*services.Get());
  }
  ::CoUninitialize();
  return ran;
}

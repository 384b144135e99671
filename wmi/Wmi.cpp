#include "wmi/Wmi.h"

#include <string_view>

#include "entry/MorvApp.h"
#include "entry/ResultCodes.h"
#include "platform/ComEntry.h"
#include "platform/VersionInfo.h"
#include "wmi/QueryTables.h"
#include "wmi/WmiService.h"

namespace {

constexpr int kSecuritySet = 1;
constexpr int kComEntryFailed = -1;
constexpr int kSecurityFailed = -2;
constexpr int kSecuritySetBefore = -23;

constexpr std::uint32_t kAuthnWinNT = 10;
constexpr std::uint32_t kAuthzNone = 0;
constexpr std::uint32_t kAuthnLevelDefault = 0, kAuthnLevelCall = 3;
constexpr std::uint32_t kImpersonate = 3;
constexpr std::uint32_t kNoCapabilities = 0;

constexpr ProxyBlanket kProxyBlanket{kAuthnWinNT, kAuthzNone, kAuthnLevelCall, kImpersonate,
                                     kNoCapabilities};

struct CollectionStep {
  int (CWmi::*query)(IWmiConnection&);
  int failureCode;
};

// The bounded wait is documented from NT 5.1 (XP) on; older WMI may refuse
// a flag it does not know, so it connects with none.
std::int32_t ConnectFlagsFor(std::uint32_t version) {
  const std::uint32_t major = version & 0xFF, minor = (version >> 8) & 0xFF;
  const bool xpOrLater = IsNtFamily(version) && (major > 5 || (major == 5 && minor >= 1));
  return xpOrLater ? wmi::kConnectUseMaxWait : 0;
}

// The format's one %s replaced by the index text.
std::string WithIndex(std::string_view format, const std::string& index) {
  const std::size_t at = format.find("%s");
  return std::string(format.substr(0, at)) + index + std::string(format.substr(at + 2));
}

}  // namespace

CWmi::CWmi(CMorvApp& app, IVersionInfo& version, IComRuntime& com, IWmiService* service)
    : app_(app), version_(version), com_(com), service_(service) {}

CWmi::~CWmi() = default;

int CWmi::Initialize() {
  comEntry_.emplace(version_, com_);
  if (!comEntry_->Entered()) return kComEntryFailed;

  ComSecuritySettings settings;
  settings.impersonationLevel = kImpersonate;
  if (IsWin2000OrVistaClient() == 1) {
    settings.withAuthenticationList = true;  // one entry: service and authorisation none
    settings.authenticationLevel = kAuthnLevelCall;
  } else {
    settings.withAuthenticationList = false;
    settings.authenticationLevel = kAuthnLevelDefault;
  }

  const HResult security = com_.InitializeSecurity(settings);
  if (Succeeded(security)) return kSecuritySet;
  return security == hr::kRpcTooLate ? kSecuritySetBefore : kSecurityFailed;
}

int CWmi::IsWin2000OrVistaClient() {
  constexpr std::uint32_t kPlatformNt = 2;
  constexpr std::uint8_t kWorkstation = 1;
  OsVersionInfo info;
  if (!version_.GetVersionEx(kOsVersionInfoExSize, info) &&
      !version_.GetVersionEx(kOsVersionInfoSize, info))
    return 0;
  if (info.platformId != kPlatformNt) return 0;
  if (info.majorVersion == 5 && info.minorVersion == 0) return 1;
  if (info.majorVersion == 6 && info.minorVersion == 0 && info.productType == kWorkstation)
    return 1;
  return 0;
}

int CWmi::Collect() {
  std::unique_ptr<IWmiLocator> locator;
  if (!service_ || Failed(service_->CreateLocator(locator)) || !locator) return result::kWmiLocator;

  // Bounded where the platform can, so that an unresponsive WMI service
  // cannot hold the thread.
  std::unique_ptr<IWmiConnection> services;
  const std::int32_t flags = ConnectFlagsFor(version_.GetVersion());
  if (Failed(locator->ConnectServer("ROOT\\CIMV2", flags, services)) || !services)
    return result::kWmiConnect;

  if (Failed(services->SetProxyBlanket(kProxyBlanket))) return result::kWmiProxy;
  return RunQueries(*services);
}

int CWmi::RunQueries(IWmiConnection& services) {
  static constexpr CollectionStep kSteps[] = {
      {&CWmi::QueryOperatingSystem, result::kQueryOs},
      {&CWmi::QueryProcessor, result::kQueryProcessor},
      {&CWmi::QueryPhysicalMemory, result::kQueryMemory},
      {&CWmi::QueryDiskDrive, result::kQueryDisk},
      {&CWmi::QueryLogicalDisk, result::kQueryLogical},
      {&CWmi::QueryVideoController, result::kQueryVideo},
      {&CWmi::QueryDesktopMonitor, result::kQueryMonitor},
      {&CWmi::QueryNetworkAdapter, result::kQueryAdapter},
      {&CWmi::QueryEveryAdapterConfiguration, result::kQueryConfig},
      {&CWmi::QueryCDROMDrive, result::kQueryCdrom},
      {&CWmi::QuerySoundDevice, result::kQuerySound},
  };
  for (const CollectionStep& step : kSteps) {
    if ((this->*step.query)(services) != 0) return step.failureCode;
  }
  return 0;
}

int CWmi::QueryEveryAdapterConfiguration(IWmiConnection& services) {
  std::int32_t ordinal = 0;
  int result = 0;
  app_.m_listNetworkAdapter.ForEach([&](const NetworkAdapterRecord& adapter) {
    if (result != 0) return;
    ++ordinal;
    result = QueryNetworkAdapterConfiguration(services, adapter.Index, ordinal);
  });
  return result;
}

int CWmi::QueryOperatingSystem(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kOperatingSystem,
                       query_tables::kOperatingSystem.text);
}

int CWmi::QueryProcessor(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kProcessor, query_tables::kProcessor.text);
}

int CWmi::QueryPhysicalMemory(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kPhysicalMemory,
                       query_tables::kPhysicalMemory.text);
}

int CWmi::QueryDiskDrive(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kDiskDrive, query_tables::kDiskDrive.text);
}

int CWmi::QueryLogicalDisk(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kLogicalDisk, query_tables::kLogicalDisk.text);
}

int CWmi::QueryVideoController(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kVideoController,
                       query_tables::kVideoController.text);
}

int CWmi::QueryDesktopMonitor(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kDesktopMonitor,
                       query_tables::kDesktopMonitor.text);
}

int CWmi::QueryNetworkAdapter(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kNetworkAdapter,
                       query_tables::kNetworkAdapter.text);
}

int CWmi::QueryNetworkAdapterConfiguration(IWmiConnection& services, std::string index,
                                           std::int32_t adapterOrdinal) {
  const auto& query = query_tables::kNetworkAdapterConfiguration;
  return RunClassQuery(services, app_, query, WithIndex(query.text, index), adapterOrdinal);
}

int CWmi::QueryCDROMDrive(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kCDROMDrive, query_tables::kCDROMDrive.text);
}

int CWmi::QuerySoundDevice(IWmiConnection& services) {
  return RunClassQuery(services, app_, query_tables::kSoundDevice, query_tables::kSoundDevice.text);
}

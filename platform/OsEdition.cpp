#include "platform/OsEdition.h"

#include <cstring>

#include "platform/OsEditionNames.h"
#include "platform/SystemMetrics.h"
#include "platform/VersionInfo.h"
#include "registry/RegUtil.h"
#include "registry/TextCompare.h"

namespace {

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows = 1;
constexpr std::uint32_t kPlatformNt = 2;

constexpr std::uint8_t kWorkstation = 1;
constexpr std::uint8_t kDomainController = 2;
constexpr std::uint8_t kServer = 3;

constexpr std::uint16_t kSuiteEnterprise = 0x0002;
constexpr std::uint16_t kSuiteDatacenter = 0x0080;
constexpr std::uint16_t kSuiteBlade = 0x0400;  // the web edition
constexpr std::uint16_t kSuiteHome = 0x0300;   // personal plus single-user terminal services

// NT 4 read with the basic structure: the product type as registry text.
struct ProductTextRow {
  const char* text;
  std::int32_t code;
};
constexpr ProductTextRow kNt4ProductTexts[] = {
    {"WINNT", 3011},
    {"LANMANNT", 3012},
    {"SERVERNT", 3014},
};
constexpr const char* kProductOptionsKey = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";

void DecideNt4(const OsVersionInfo& info, bool extended, IRegistry& registry, std::int32_t& code) {
  code = 3002;
  if (extended) {
    if (info.productType == kWorkstation) code = 3011;
    if (info.productType == kDomainController) code = 3015;
    if (info.productType == kServer) code = 3012;
    return;
  }
  char text[81] = {};  // one spare byte keeps an 80-byte value terminated
  CRegUtil util(registry);
  if (util.ReadValue(kProductOptionsKey, "ProductType", text, 80, 1) == 0) return;
  for (const ProductTextRow& row : kNt4ProductTexts)
    if (EqualsIgnoringCase(text, row.text)) code = row.code;
}

void DecideNt5(const OsVersionInfo& info, ISystemMetrics& metrics, std::int32_t& code) {
  const bool tablet = metrics.GetSystemMetrics(kSmTabletPc) != 0;
  switch (info.minorVersion) {
    case 0:
      code = info.productType == kWorkstation           ? 3001
             : (info.suiteMask & kSuiteEnterprise) != 0 ? 3013
                                                        : 3000;
      if (tablet) code = 3016;
      return;
    case 1:
      if (info.productType == kWorkstation) code = info.suiteMask == kSuiteHome ? 3009 : 3008;
      if (info.productType == kServer) code = 3007;
      if (tablet) code = 3017;
      return;
    case 2:
      code = (info.suiteMask & kSuiteEnterprise) != 0 ? 3019
             : (info.suiteMask & kSuiteBlade) != 0    ? 3020
                                                      : 3018;
      return;
    default:
      return;
  }
}

// Vista/Longhorn (6.0) and 7/2008 R2 (6.1) share one pattern.
void DecideNt6(const OsVersionInfo& info, std::int32_t& code) {
  if (info.minorVersion > 1) return;
  const std::int32_t base = info.minorVersion == 0 ? 3021 : 3025;
  code = info.productType == kWorkstation           ? base
         : (info.suiteMask & kSuiteEnterprise) != 0 ? base + 2
         : (info.suiteMask & kSuiteDatacenter) != 0 ? base + 3
                                                    : base + 1;
}

}  // namespace

int GetOsEditionCode(IVersionInfo& version, ISystemMetrics& metrics, IRegistry& registry,
                     std::int32_t& code) {
  OsVersionInfo info;
  bool extended = version.GetVersionEx(kOsVersionInfoExSize, info);
  if (!extended) {
    info = OsVersionInfo{};
    if (!version.GetVersionEx(kOsVersionInfoSize, info)) {
      code = kUnknownWindows;
      return -1;
    }
  }
  switch (info.platformId) {
    case kPlatformWin32s:
      code = 3005;
      break;
    case kPlatformWindows:
      if (info.majorVersion == 4 && info.minorVersion == 0) code = 3004;
      if (info.majorVersion == 4 && info.minorVersion == 10) code = 3003;
      if (info.majorVersion == 4 && info.minorVersion == 90) code = 3006;
      break;
    case kPlatformNt:
      if (info.majorVersion <= 4) DecideNt4(info, extended, registry, code);
      if (info.majorVersion == 5) DecideNt5(info, metrics, code);
      if (info.majorVersion == 6) DecideNt6(info, code);
      break;
    default:
      code = kUnknownWindows;
      break;
  }
  return 0;
}

int GetOsEditionName(std::int32_t code, std::string& name) {
  for (const OsEditionRow& row : kOsEditions) {
    if (row.code == code) {
      name = row.name;
      return 1;
    }
  }
  return 0;
}

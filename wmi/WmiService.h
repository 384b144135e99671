#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/HResult.h"

// WMI as the query logic sees it: plain values above COM. Texts are ANSI
// (converted from UTF-16 with the system's ANSI code page by the
// implementation). Every object releases its COM counterpart when
// destroyed; none may outlive the IWmiService that made it.

namespace wmi {
inline constexpr HResult kNotFound = static_cast<HResult>(0x80041002u);  // WBEM_E_NOT_FOUND
inline constexpr std::int32_t kForwardOnlyReturnImmediately = 0x30;
inline constexpr std::int32_t kConnectUseMaxWait = 0x80;  // WBEM_FLAG_CONNECT_USE_MAX_WAIT
}  // namespace wmi

// The variant types a property read can give. Other covers every type the
// module never reads (doubles, dates as numbers, arrays of non-texts ...).
enum class WmiType { Empty, Null, Int32, Int16, Bool, String, StringArray, Other };

// One property read: the read's result, the value's type and the value.
// Int32 fills `number` (unsigned 32-bit and 8-bit values too, as their bit
// pattern / value), Int16 and Bool fill `number` with the signed 16-bit
// value (a true truth value is -1), String fills `text`, StringArray fills
// `texts`.
struct WmiValue {
  HResult result = wmi::kNotFound;
  WmiType type = WmiType::Empty;
  std::int32_t number = 0;
  std::string text;
  std::vector<std::string> texts;
};

// One instance (IWbemClassObject).
class IWmiInstance {
 public:
  virtual ~IWmiInstance() = default;
  // Get(name, 0, &value, NULL, NULL).
  virtual WmiValue Get(const std::string& name) = 0;
};

enum class WmiNext { Instance, End, TimedOut, Failed };

// A forward-only result set (IEnumWbemClassObject).
class IWmiEnumerator {
 public:
  virtual ~IWmiEnumerator() = default;
  // Next(timeoutMs, 1, ...): Instance fills `instance`; End, TimedOut
  // (WBEM_S_TIMEDOUT with nothing returned) and Failed leave it null.
  virtual WmiNext Next(std::uint32_t timeoutMs, std::unique_ptr<IWmiInstance>& instance) = 0;
};

// What CoSetProxyBlanket is given; principal name and identity are null.
struct ProxyBlanket {
  std::uint32_t authenticationService = 0;
  std::uint32_t authorisationService = 0;
  std::uint32_t authenticationLevel = 0;
  std::uint32_t impersonationLevel = 0;
  std::uint32_t capabilities = 0;
};

// A connection to one namespace (IWbemServices).
class IWmiConnection {
 public:
  virtual ~IWmiConnection() = default;
  virtual HResult SetProxyBlanket(const ProxyBlanket& blanket) = 0;
  // ExecQuery("WQL", query, flags, NULL). On failure returns the refusal
  // and leaves `enumerator` null.
  virtual HResult ExecQuery(const std::string& query, std::int32_t flags,
                            std::unique_ptr<IWmiEnumerator>& enumerator) = 0;
};

// IWbemLocator.
class IWmiLocator {
 public:
  virtual ~IWmiLocator() = default;
  // ConnectServer(ns, NULL user, password, locale, securityFlags, NULL
  // authority, NULL context). On failure leaves `connection` null.
  virtual HResult ConnectServer(const std::string& ns, std::int32_t securityFlags,
                                std::unique_ptr<IWmiConnection>& connection) = 0;
};

// The entry: creates the in-process WbemLocator. COM must be entered on
// the calling thread.
class IWmiService {
 public:
  virtual ~IWmiService() = default;
  virtual HResult CreateLocator(std::unique_ptr<IWmiLocator>& locator) = 0;
};

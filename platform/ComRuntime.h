#pragma once
#include <cstdint>

#include "platform/HResult.h"

// How CoInitializeSecurity is asked to authenticate.
struct ComSecuritySettings {
  // True: one authentication-list entry with service 0, authorisation 0 and
  // no identity. False: no authentication list.
  bool withAuthenticationList = false;
  std::uint32_t authenticationLevel = 0;
  std::uint32_t impersonationLevel = 3;
};

// The COM runtime of the calling thread and process.
class IComRuntime {
 public:
  virtual ~IComRuntime() = default;
  // CoInitialize(NULL): single-threaded apartment.
  virtual HResult Initialize() = 0;
  // CoInitializeEx(NULL, flags).
  virtual HResult InitializeEx(std::uint32_t flags) = 0;
  virtual void Uninitialize() = 0;
  // CoInitializeSecurity with a null descriptor, COM-chosen services and
  // no capabilities; the settings give the rest.
  virtual HResult InitializeSecurity(const ComSecuritySettings& settings) = 0;
};

#pragma once
#include "wmi/WmiService.h"

// WMI over COM: WbemLocator, IWbemServices, IEnumWbemClassObject and
// IWbemClassObject. All VARIANT, BSTR and SAFEARRAY handling and the
// UTF-16/ANSI conversions of the module's WMI use live behind this.
class WindowsWmiService final : public IWmiService {
 public:
  HResult CreateLocator(std::unique_ptr<IWmiLocator>& locator) override;
};

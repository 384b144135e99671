#pragma once
// A WMI double answering from a WmiFixture and logging what it was asked.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "doubles/WmiFixture.h"
#include "wmi/WmiService.h"

class FakeWmiService final : public IWmiService {
 public:
  WmiFixture fixture;
  HResult locatorResult = hr::kOk;
  HResult connectResult = hr::kOk;
  HResult blanketResult = hr::kOk;
  // "locator=HR connect=HR blanket=HR" (hex, each optional) sets the three
  // results above, the ones not named to success.
  void SetFaults(const std::string& faults);

  // What was asked, in order: "CreateLocator", "ConnectServer NAMESPACE
  // FLAGS", "SetProxyBlanket AUTHN AUTHZ LEVEL IMPERSONATION CAPABILITIES",
  // "ExecQuery FLAGS TEXT" (numbers in hex where WMI writes them so).
  std::vector<std::string> calls;
  // Called at each query, before it is answered.
  std::function<void()> onQuery;
  // Set when an enumerator that never answers was asked to wait forever
  // (it then fails instead, so the test ends).
  bool waitedForever = false;
  // Locators, connections, enumerators and instances not yet destroyed.
  int live = 0;

  HResult CreateLocator(std::unique_ptr<IWmiLocator>& locator) override;
};

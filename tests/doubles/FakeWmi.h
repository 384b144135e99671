#pragma once
// A WMI double answering from a WmiFixture, recording what it was asked.
#include <cstdint>
#include <string>
#include <vector>

#include "doubles/WmiFixture.h"
#include "wmi/WmiService.h"

class FakeWmiService final : public IWmiService {
 public:
  FakeWmiService() = default;
  explicit FakeWmiService(WmiFixture fixture) : fixture(std::move(fixture)) {}

  WmiFixture fixture;
  HResult locatorResult = hr::kOk;
  HResult connectResult = hr::kOk;
  HResult blanketResult = hr::kOk;

  // What was asked, in order: "CreateLocator", "ConnectServer(ROOT\CIMV2)",
  // "SetProxyBlanket", and each query text.
  std::vector<std::string> calls;
  std::int32_t connectFlags = -1;
  ProxyBlanket blanket;
  std::vector<std::int32_t> queryFlags;
  std::vector<std::uint32_t> timeouts;  // of every Next
  std::vector<std::string> reads;       // every property read, in order
  // Set when an enumerator that never answers was asked to wait forever
  // (it then fails instead, so the test ends).
  bool waitedForever = false;
  // Locators, connections, enumerators and instances not yet destroyed.
  int live = 0;

  HResult CreateLocator(std::unique_ptr<IWmiLocator>& locator) override;
};

// The class a query names after FROM, and the instances of `fixture` it
// selects: "WHERE P != NULL" keeps those delivering P, "WHERE P='v'" those
// whose P reads v.
std::string QueriedClass(const std::string& query);
std::vector<const WmiFixtureInstance*> SelectInstances(const WmiFixture& fixture,
                                                       const std::string& query);

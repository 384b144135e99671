#pragma once
// A CWmi over the WMI double, with the store of a fresh run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/FakePlatform.h"
#include "doubles/FakeWmi.h"
#include "entry/MorvApp.h"
#include "wmi/Wmi.h"

class WmiTest : public ::testing::Test {
 protected:
  void SetUp() override { app_.BeginRun(); }

  void Load(const std::string& fixtureText) {
    std::string error;
    ASSERT_TRUE(ParseWmiFixture(fixtureText, service_.fixture, error)) << error;
  }
  void LoadFile(const std::string& name) {
    std::string error;
    ASSERT_TRUE(
        LoadWmiFixture(std::string(MORV_FIXTURES) + "/wmi/" + name, service_.fixture, error))
        << error;
  }

  // A connection as Collect would hold it.
  IWmiConnection& Connection() {
    if (!connection_) {
      std::unique_ptr<IWmiLocator> locator;
      EXPECT_EQ(service_.CreateLocator(locator), hr::kOk);
      EXPECT_EQ(locator->ConnectServer("ROOT\\CIMV2", 0, connection_), hr::kOk);
    }
    return *connection_;
  }

  template <typename Record>
  static std::vector<Record> Records(const RecordList<Record>& list) {
    std::vector<Record> records;
    list.ForEach([&](const Record& r) { records.push_back(r); });
    return records;
  }

  InventorySummary& Summary() { return *app_.m_pSummary; }

  CMorvApp app_;
  FakeVersionInfo version_;
  FakeComRuntime com_;
  FakeWmiService service_;
  std::unique_ptr<IWmiConnection> connection_;
  CWmi wmi_{app_, version_, com_, &service_};
};

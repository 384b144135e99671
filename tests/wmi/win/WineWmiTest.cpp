// The Windows WMI implementation against the system's own WMI.
#include <gtest/gtest.h>

#include "entry/MorvApp.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPlatform.h"
#include "wmi/QueryTables.h"
#include "wmi/Wmi.h"
#include "wmi/win/WindowsWmiService.h"

namespace {

class WineWmi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Succeeded(com_.Initialize()));
    std::unique_ptr<IWmiLocator> locator;
    ASSERT_EQ(service_.CreateLocator(locator), hr::kOk);
    ASSERT_EQ(locator->ConnectServer("ROOT\\CIMV2", wmi::kConnectUseMaxWait, connection_), hr::kOk);
    ASSERT_EQ(connection_->SetProxyBlanket({10, 0, 3, 3, 0}), hr::kOk);
  }
  void TearDown() override {
    connection_.reset();
    com_.Uninitialize();
  }

  // Every instance of the query, or none when it is refused.
  std::vector<std::unique_ptr<IWmiInstance>> All(const std::string& query,
                                                 HResult* refusal = nullptr) {
    std::vector<std::unique_ptr<IWmiInstance>> instances;
    std::unique_ptr<IWmiEnumerator> results;
    const HResult result =
        connection_->ExecQuery(query, wmi::kForwardOnlyReturnImmediately, results);
    if (refusal) *refusal = result;
    if (Failed(result)) return instances;
    std::unique_ptr<IWmiInstance> instance;
    while (results->Next(30000, instance) == WmiNext::Instance)
      instances.push_back(std::move(instance));
    EXPECT_EQ(results->Next(30000, instance), WmiNext::End) << query;
    return instances;
  }

  WindowsComRuntime com_;
  WindowsWmiService service_;
  std::unique_ptr<IWmiConnection> connection_;
};

TEST_F(WineWmi, EveryQueryButTheMonitorOneIsAnswered) {
  using namespace query_tables;
  const struct {
    const char* text;
    HResult expected;
  } cases[] = {
      {kOperatingSystem.text, hr::kOk},
      {kProcessor.text, hr::kOk},
      {kPhysicalMemory.text, hr::kOk},
      {kDiskDrive.text, hr::kOk},
      {kLogicalDisk.text, hr::kOk},
      {kVideoController.text, hr::kOk},
      // Wine's monitor class has no ScreenWidth.
      {kDesktopMonitor.text, wmi::kFailed},
      {kNetworkAdapter.text, hr::kOk},
      {kCDROMDrive.text, hr::kOk},
      {kSoundDevice.text, hr::kOk},
  };
  for (const auto& c : cases) {
    HResult result = hr::kFail;
    All(c.text, &result);
    EXPECT_EQ(result, c.expected) << c.text;
  }
}

TEST_F(WineWmi, ValuesCarryTheirVariantTypes) {
  const auto os = All(query_tables::kOperatingSystem.text);
  ASSERT_EQ(os.size(), 1u);
  const WmiValue caption = os[0]->Get("Caption");
  EXPECT_EQ(caption.result, hr::kOk);
  EXPECT_EQ(caption.type, WmiType::String);
  EXPECT_FALSE(caption.text.empty());
  EXPECT_EQ(os[0]->Get("CurrentTimeZone").type, WmiType::Int16);
  EXPECT_EQ(os[0]->Get("OSType").type, WmiType::Int32);
  EXPECT_EQ(os[0]->Get("CSDVERSION").type, WmiType::String);  // names are case-insensitive
  const WmiValue missing = os[0]->Get("NoSuchProperty");
  EXPECT_EQ(missing.result, wmi::kNotFound);
  EXPECT_EQ(missing.type, WmiType::Empty);

  const auto configs =
      All("SELECT IPAddress, Index, DHCPEnabled FROM Win32_NetworkAdapterConfiguration");
  ASSERT_FALSE(configs.empty());
  for (const auto& config : configs) {
    EXPECT_EQ(config->Get("DHCPEnabled").type, WmiType::Bool);
    const WmiValue addresses = config->Get("IPAddress");
    EXPECT_TRUE(addresses.type == WmiType::Null || addresses.type == WmiType::StringArray);
  }
}

TEST_F(WineWmi, ConfigurationQueryFindsEachAdapterByIndex) {
  const auto adapters = All(query_tables::kNetworkAdapter.text);
  ASSERT_FALSE(adapters.empty());
  for (const auto& adapter : adapters) {
    const WmiValue index = adapter->Get("Index");
    ASSERT_EQ(index.type, WmiType::Int32);
    const std::string text = std::to_string(index.number);
    std::string query = query_tables::kNetworkAdapterConfiguration.text;
    query.replace(query.find("%s"), 2, text);
    const auto configs = All(query);
    ASSERT_EQ(configs.size(), 1u) << query;
    EXPECT_EQ(configs[0]->Get("Index").number, index.number);
  }
  EXPECT_TRUE(All("SELECT Index FROM Win32_NetworkAdapterConfiguration WHERE Index=''").empty());
}

TEST_F(WineWmi, CollectionStopsAtTheMonitorQuery) {
  CMorvApp app;
  app.BeginRun();
  WindowsVersionInfo version;
  CWmi wmi(app, version, com_, &service_);
  EXPECT_EQ(wmi.Collect(), -122);
  EXPECT_EQ(app.m_listOs.NodeCount(), 1u);
  EXPECT_FALSE(app.m_pSummary->osCaption.empty());
  EXPECT_FALSE(app.m_pSummary->cpuName.empty());
  EXPECT_GE(app.m_pSummary->processorCount, 1);
  EXPECT_NE(app.m_pSummary->memoryTotal, "0");
  EXPECT_FALSE(app.m_pSummary->videoNames.empty());
  EXPECT_TRUE(app.m_listMonitor.Empty());
  EXPECT_TRUE(app.m_listNetworkAdapter.Empty());  // not reached
}

}  // namespace

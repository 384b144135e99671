// The Windows WMI implementation against the system's own WMI: the same
// contract the WMI double keeps for the host tests.
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

  // Every instance of the query; `refusal` gets ExecQuery's result.
  std::vector<std::unique_ptr<IWmiInstance>> All(const std::string& query,
                                                 HResult* refusal = nullptr) {
    std::vector<std::unique_ptr<IWmiInstance>> instances;
    std::unique_ptr<IWmiEnumerator> results;
    const HResult result =
        connection_->ExecQuery(query, wmi::kForwardOnlyReturnImmediately, results);
    if (refusal) *refusal = result;
    if (Failed(result)) return instances;
    for (std::unique_ptr<IWmiInstance> instance;
         results->Next(30000, instance) == WmiNext::Instance;)
      instances.push_back(std::move(instance));
    return instances;
  }

  WindowsComRuntime com_;
  WindowsWmiService service_;
  std::unique_ptr<IWmiConnection> connection_;
};

TEST_F(WineWmi, ValuesCarryTheirVariantTypes) {
  const auto os = All(query_tables::kOperatingSystem.text);
  ASSERT_EQ(os.size(), 1u);
  const struct {
    const char* name;
    HResult result;
    WmiType type;
  } cases[] = {
      {"Caption", hr::kOk, WmiType::String},
      {"CSDVERSION", hr::kOk, WmiType::String},  // names ignore letter case
      {"CurrentTimeZone", hr::kOk, WmiType::Int16},
      {"OSType", hr::kOk, WmiType::Int32},
      {"NoSuchProperty", wmi::kNotFound, WmiType::Empty},
  };
  for (const auto& c : cases) {
    const WmiValue value = os[0]->Get(c.name);
    EXPECT_EQ(value.result, c.result) << c.name;
    EXPECT_EQ(value.type, c.type) << c.name;
  }
  for (const auto& config :
       All("SELECT IPAddress, DHCPEnabled FROM Win32_NetworkAdapterConfiguration")) {
    EXPECT_EQ(config->Get("DHCPEnabled").type, WmiType::Bool);
    const WmiType addresses = config->Get("IPAddress").type;
    EXPECT_TRUE(addresses == WmiType::Null || addresses == WmiType::StringArray);
  }
}

TEST_F(WineWmi, ConfigurationQueryFindsEachAdapterByIndex) {
  const auto adapters = All(query_tables::kNetworkAdapter.text);
  ASSERT_FALSE(adapters.empty());
  for (const auto& adapter : adapters) {
    std::string query = query_tables::kNetworkAdapterConfiguration.text;
    query.replace(query.find("%s"), 2, std::to_string(adapter->Get("Index").number));
    ASSERT_EQ(All(query).size(), 1u) << query;
  }
  EXPECT_TRUE(All("SELECT Index FROM Win32_NetworkAdapterConfiguration WHERE Index=''").empty());
}

// Wine's monitor class has no ScreenWidth: its query is refused, and the
// collection ends there with what came before it.
TEST_F(WineWmi, CollectionStopsAtTheMonitorQuery) {
  HResult refusal = hr::kOk;
  All(query_tables::kDesktopMonitor.text, &refusal);
  EXPECT_EQ(refusal, static_cast<HResult>(0x80041001u));  // WBEM_E_FAILED
  CMorvApp app;
  app.BeginRun();
  WindowsVersionInfo version;
  CWmi wmi(app, version, com_, &service_);
  EXPECT_EQ(wmi.Collect(), -122);
  EXPECT_FALSE(app.m_pSummary->osCaption.empty());
  EXPECT_FALSE(app.m_pSummary->cpuName.empty());
  EXPECT_NE(app.m_pSummary->memoryTotal, "0");
  EXPECT_FALSE(app.m_pSummary->videoNames.empty());
}

}  // namespace

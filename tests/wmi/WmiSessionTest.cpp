#include <gtest/gtest.h>

#include "tests/wmi/WmiTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

struct InitCase {
  const char* what;
  std::uint32_t version;
  std::uint32_t platformId, major, minor;
  std::uint8_t productType;
  bool exSucceeds;
  bool basicSucceeds;
  int expectedClient;         // IsWin2000OrVistaClient
  const char* entry;          // how COM is entered
  std::int32_t connectFlags;  // ConnectServer's security flags
};

TEST_F(WmiTest, ComEntryAndAuthenticationFollowTheVersion) {
  const InitCase cases[] = {
      {"NT 4", versions::kNt4, 2, 4, 0, 1, true, true, 0, "InitializeEx(0)", 0},
      {"2000 server", versions::kWin2000, 2, 5, 0, 3, true, true, 1, "Initialize", 0},
      {"2000 via basic struct", versions::kWin2000, 2, 5, 0, 0, false, true, 1, "Initialize", 0},
      {"XP", versions::kWinXp, 2, 5, 1, 1, true, true, 0, "Initialize", 0x80},
      {"2003", 0x0ECE0205, 2, 5, 2, 3, true, true, 0, "Initialize", 0x80},
      {"Vista workstation", 0x17720006, 2, 6, 0, 1, true, true, 1, "Initialize", 0x80},
      {"Vista server", 0x17720006, 2, 6, 0, 3, true, true, 0, "Initialize", 0x80},
      {"Vista via basic struct", 0x17720006, 2, 6, 0, 1, false, true, 0, "Initialize", 0x80},
      {"no version information", 0x17720006, 2, 6, 0, 1, false, false, 0, "Initialize", 0x80},
      {"Windows 7", versions::kWin7, 2, 6, 1, 1, true, true, 0, "Initialize", 0x80},
      {"95", versions::kWin95, 1, 4, 0, 0, true, true, 0, "Initialize", 0},
      {"98 reporting 5.0", versions::kWin98, 1, 5, 0, 0, true, true, 0, "Initialize", 0},
      {"Me reporting 5.1", 0xC0005A04, 1, 5, 1, 0, true, true, 0, "Initialize", 0},
      {"NT build 2047", 0x07FF0005, 2, 5, 0, 1, true, true, 1, "InitializeEx(0)", 0},
  };
  for (const InitCase& c : cases) {
    version_.version = c.version;
    version_.info.platformId = c.platformId;
    version_.info.majorVersion = c.major;
    version_.info.minorVersion = c.minor;
    version_.info.productType = c.productType;
    version_.exSucceeds = c.exSucceeds;
    version_.basicSucceeds = c.basicSucceeds;
    com_ = FakeComRuntime();
    service_ = FakeWmiService();
    {
      CWmi wmi(app_, version_, com_, &service_);
      EXPECT_EQ(wmi.IsWin2000OrVistaClient(), c.expectedClient) << c.what;
      EXPECT_EQ(wmi.Initialize(), 1) << c.what;
      EXPECT_EQ(wmi.Collect(), 0) << c.what;
      EXPECT_EQ(service_.connectFlags, c.connectFlags) << c.what;
      EXPECT_EQ(com_.calls, (Calls{c.entry, "Security"})) << c.what;
      const ComSecuritySettings& s = com_.lastSecurity;
      EXPECT_EQ(s.withAuthenticationList, c.expectedClient == 1) << c.what;
      EXPECT_EQ(s.authenticationLevel, c.expectedClient == 1 ? 3u : 0u) << c.what;
      EXPECT_EQ(s.impersonationLevel, 3u) << c.what;
    }
    EXPECT_EQ(com_.calls.back(), "Uninitialize") << c.what;
    EXPECT_EQ(com_.depth, 0) << c.what;
  }
}

TEST_F(WmiTest, InitializeResults) {
  const struct {
    const char* what;
    HResult entry, security;
    int expected;
    Calls calls;  // including the end of the object
  } cases[] = {
      {"security set", hr::kOk, hr::kOk, 1, {"Initialize", "Security", "Uninitialize"}},
      {"already entered alike", hr::kFalse, hr::kOk, 1, {"Initialize", "Security", "Uninitialize"}},
      {"security set before",
       hr::kOk,
       hr::kRpcTooLate,
       -23,
       {"Initialize", "Security", "Uninitialize"}},
      {"security failed", hr::kOk, hr::kFail, -2, {"Initialize", "Security", "Uninitialize"}},
      {"other apartment", hr::kRpcChangedMode, hr::kOk, -1, {"Initialize"}},
  };
  for (const auto& c : cases) {
    com_ = FakeComRuntime();
    com_.initializeResult = c.entry;
    com_.securityResult = c.security;
    {
      CWmi wmi(app_, version_, com_, &service_);
      EXPECT_EQ(wmi.Initialize(), c.expected) << c.what;
    }
    EXPECT_EQ(com_.calls, c.calls) << c.what;
  }
}

TEST_F(WmiTest, ConnectionFailuresReleaseWhatWasMade) {
  const struct {
    const char* what;
    HResult locator, connect, blanket;
    int expected;
    std::size_t callCount;
  } cases[] = {
      {"locator", hr::kFail, hr::kOk, hr::kOk, -21, 1},
      {"connection", hr::kOk, static_cast<HResult>(0x8004100Eu), hr::kOk, -101, 2},
      {"proxy security", hr::kOk, hr::kOk, static_cast<HResult>(0x80070005u), -22, 3},
  };
  for (const auto& c : cases) {
    service_ = FakeWmiService();
    service_.locatorResult = c.locator;
    service_.connectResult = c.connect;
    service_.blanketResult = c.blanket;
    EXPECT_EQ(wmi_.Collect(), c.expected) << c.what;
    EXPECT_EQ(service_.calls.size(), c.callCount) << c.what;
    EXPECT_EQ(service_.live, 0) << c.what;
  }
}

TEST_F(WmiTest, ConnectionAndProxySettings) {
  ASSERT_EQ(wmi_.Collect(), 0);
  EXPECT_EQ(service_.calls[1], "ConnectServer(ROOT\\CIMV2)");
  EXPECT_EQ(service_.connectFlags, 0x80);  // bounded wait
  EXPECT_EQ(service_.blanket.authenticationService, 10u);
  EXPECT_EQ(service_.blanket.authorisationService, 0u);
  EXPECT_EQ(service_.blanket.authenticationLevel, 3u);
  EXPECT_EQ(service_.blanket.impersonationLevel, 3u);
  EXPECT_EQ(service_.blanket.capabilities, 0u);
}

TEST_F(WmiTest, WithoutTheServiceTheLocatorFails) {
  CWmi wmi(app_, version_, com_, nullptr);
  EXPECT_EQ(wmi.Collect(), -21);
}

}  // namespace

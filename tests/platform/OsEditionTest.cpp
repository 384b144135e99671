#include <gtest/gtest.h>

#include <set>

#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "platform/OsEdition.h"
#include "platform/OsEditionNames.h"

namespace {

struct EditionCase {
  const char* system;
  std::uint32_t platform, major, minor;
  std::uint8_t productType;
  std::uint16_t suiteMask;
  int tablet;
  std::int32_t code;  // -7: the code the caller had before
};

constexpr std::int32_t kBefore = -7;

const EditionCase kEditionCases[] = {
    // system                      plat maj min  type suite   tablet code
    {"Win32s", 0, 3, 10, 0, 0, 0, 3005},
    {"95", 1, 4, 0, 0, 0, 0, 3004},
    {"98", 1, 4, 10, 0, 0, 0, 3003},
    {"Me", 1, 4, 90, 0, 0, 0, 3006},
    {"9x other minor", 1, 4, 3, 0, 0, 0, kBefore},
    {"NT 4 workstation", 2, 4, 0, 1, 0, 0, 3011},
    {"NT 4 domain controller", 2, 4, 0, 2, 0, 0, 3015},
    {"NT 4 server", 2, 4, 0, 3, 0, 0, 3012},
    {"NT 3.51 no product type", 2, 3, 51, 0, 0, 0, 3002},
    {"2000 Professional", 2, 5, 0, 1, 0, 0, 3001},
    {"2000 Professional tablet", 2, 5, 0, 1, 0, 1, 3016},
    {"2000 Advanced Server", 2, 5, 0, 3, 0x0002, 0, 3013},
    {"2000 Advanced Server tablet", 2, 5, 0, 3, 0x0002, 1, 3016},
    {"2000 Server", 2, 5, 0, 2, 0x0080, 0, 3000},
    {"XP Home", 2, 5, 1, 1, 0x0300, 0, 3009},
    {"XP Home with another bit", 2, 5, 1, 1, 0x0310, 0, 3008},
    {"XP Professional", 2, 5, 1, 1, 0x0100, 0, 3008},
    {"XP server product", 2, 5, 1, 3, 0, 0, 3007},
    {"XP domain controller", 2, 5, 1, 2, 0, 0, kBefore},
    {"XP domain controller tablet", 2, 5, 1, 2, 0, 1, 3017},
    {"XP Home tablet", 2, 5, 1, 1, 0x0300, 1, 3017},
    {"2003 Enterprise", 2, 5, 2, 3, 0x0002, 0, 3019},
    {"2003 Web", 2, 5, 2, 3, 0x0400, 0, 3020},
    {"2003 enterprise and blade", 2, 5, 2, 3, 0x0402, 0, 3019},
    {"2003 Standard", 2, 5, 2, 3, 0x0010, 1, 3018},
    {"5.3", 2, 5, 3, 1, 0, 0, kBefore},
    {"Vista", 2, 6, 0, 1, 0x0002, 0, 3021},
    {"Longhorn Enterprise", 2, 6, 0, 3, 0x0082, 0, 3023},
    {"Longhorn Datacenter", 2, 6, 0, 3, 0x0080, 0, 3024},
    {"Longhorn", 2, 6, 0, 2, 0, 0, 3022},
    {"7", 2, 6, 1, 1, 0x0100, 0, 3025},
    {"2008 R2", 2, 6, 1, 3, 0, 0, 3026},
    {"2008 R2 Enterprise and Datacenter", 2, 6, 1, 3, 0x0082, 0, 3027},
    {"2008 R2 Datacenter", 2, 6, 1, 3, 0x0080, 0, 3028},
    {"8", 2, 6, 2, 1, 0, 0, kBefore},
    {"10", 2, 10, 0, 1, 0, 0, kBefore},
    {"CE platform", 3, 5, 0, 0, 0, 0, 3010},
};

TEST(OsEditionTest, CodeFromVersionFacts) {
  for (const EditionCase& c : kEditionCases) {
    SCOPED_TRACE(c.system);
    FakeVersionInfo version;
    version.info.platformId = c.platform;
    version.info.majorVersion = c.major;
    version.info.minorVersion = c.minor;
    version.info.productType = c.productType;
    version.info.suiteMask = c.suiteMask;
    FakeSystemMetrics metrics;
    metrics.values[kSmTabletPc] = c.tablet;
    metrics.values[kSmTabletPc + 1] = 1;  // a neighbouring index must not count
    FakeRegistry registry;
    std::int32_t code = kBefore;
    EXPECT_EQ(GetOsEditionCode(version, metrics, registry, code), 0);
    EXPECT_EQ(code, c.code);
  }
}

TEST(OsEditionTest, Nt4WithOnlyTheBasicStructureReadsTheProductText) {
  struct Case {
    const char* registryText;  // nullptr: no value
    bool denyKey;
    std::int32_t code;
  };
  const Case cases[] = {
      {"WinNT", false, 3011},  {"lanmannt", false, 3012}, {"ServerNt", false, 3014},
      {"WINNTX", false, 3002}, {nullptr, false, 3002},    {"LanmanNT", true, 3002},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.registryText ? c.registryText : "(none)");
    FakeVersionInfo version;
    version.exSucceeds = false;
    version.info.platformId = 2;
    version.info.majorVersion = 4;
    version.info.productType = 3;  // not visible through the basic structure
    FakeSystemMetrics metrics;
    FakeRegistry registry;
    std::string text =
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\"
        "ProductOptions]\n";
    if (c.denyKey) text += ";@deny-read\n";
    if (c.registryText) text += std::string("\"ProductType\"=\"") + c.registryText + "\"\n";
    ASSERT_TRUE(registry.LoadText(text));
    std::int32_t code = 0;
    EXPECT_EQ(GetOsEditionCode(version, metrics, registry, code), 0);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(registry.OpenHandles(), 0u);
  }
}

TEST(OsEditionTest, ProductTextLongerThanItsBufferIsNoMatch) {
  FakeVersionInfo version;
  version.exSucceeds = false;
  version.info.platformId = 2;
  version.info.majorVersion = 4;
  FakeSystemMetrics metrics;
  FakeRegistry registry;
  registry.SetText("SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType",
                   std::string(80, 'W'));  // 81 bytes with its terminator
  std::int32_t code = 0;
  GetOsEditionCode(version, metrics, registry, code);
  EXPECT_EQ(code, 3002);
}

TEST(OsEditionTest, UnreadableVersionGivesUnknownWindows) {
  FakeVersionInfo version;
  version.exSucceeds = false;
  version.basicSucceeds = false;
  FakeSystemMetrics metrics;
  FakeRegistry registry;
  std::int32_t code = 0;
  EXPECT_EQ(GetOsEditionCode(version, metrics, registry, code), -1);
  EXPECT_EQ(code, 3010);
}

TEST(OsEditionTest, BasicStructureAloneStillDecidesByVersion) {
  FakeVersionInfo version;
  version.exSucceeds = false;
  version.info = {5, 0, 2195, 2};
  version.info.productType = 1;  // dropped by the basic read: 2000 Server Family
  FakeSystemMetrics metrics;
  FakeRegistry registry;
  std::int32_t code = 0;
  EXPECT_EQ(GetOsEditionCode(version, metrics, registry, code), 0);
  EXPECT_EQ(code, 3000);
}

TEST(OsEditionTest, EveryCodeHasItsOwnName) {
  std::set<std::string> seen;
  for (std::int32_t code = kFirstOsEditionCode; code <= kLastOsEditionCode; ++code) {
    std::string name;
    ASSERT_EQ(GetOsEditionName(code, name), 1) << code;
    EXPECT_TRUE(seen.insert(name).second) << name;
  }
  struct Case {
    std::int32_t code;
    const char* name;
  };
  const Case cases[] = {{3009, "Microsoft Windows XP Home Edition"},
                        {3010, "Unknown Windows"},
                        {3015, "Microsoft Windows NT Domain controller"},
                        {3025, "Windows 7"},
                        {3028, "Windows Server 2008 R2 Datacenter Edition"}};
  for (const Case& c : cases) {
    std::string name;
    GetOsEditionName(c.code, name);
    EXPECT_EQ(name, c.name);
  }
  for (const std::int32_t outside : {0, 2999, 3029, -3000}) {
    std::string name = "kept";
    EXPECT_EQ(GetOsEditionName(outside, name), 0);
    EXPECT_EQ(name, "kept");
  }
}

}  // namespace

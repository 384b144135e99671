#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AssetDocumentChecks.h"
#include "document/AssetDocumentBuilder.h"
#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"
#include "entry/MorvApp.h"

namespace {

namespace fs = std::filesystem;
using Properties = std::vector<PropertyOutline>;

class AssetDocumentBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("morv-build-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "AgentHardwareAsset.XML").string();
    app_.InitInstance(host_);
    app_.m_strDeviceId = "device-7";
    app_.m_nDetailMode = 1;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Builds, checks the result code and the format rules, and reads back.
  DocumentOutline Build() {
    EXPECT_EQ(BuildAssetDocument(app_, path_, &factory_, clock_), 0);
    EXPECT_EQ(DocumentProblems(path_), "");
    return ReadOutline(path_);
  }

  fs::path dir_;
  std::string path_;
  FakeHostProcess host_;
  CMorvApp app_;
  PugiDomFactory factory_;
  FakeClock clock_;
};

std::vector<std::string> ClassIds(const DocumentOutline& outline) {
  std::vector<std::string> ids;
  for (const ClassOutline& c : outline.classes) ids.push_back(c.id);
  return ids;
}

TEST_F(AssetDocumentBuilderTest, HeaderAndTimestamp) {
  clock_.now = {2027, 1, 2, 3, 4, 5};
  const DocumentOutline outline = Build();
  EXPECT_EQ(app_.m_strTimestamp, "20270102030405");
  EXPECT_EQ(outline.currentTimestamp, "20270102030405");
  EXPECT_EQ(outline.previousTimestamp, "20270102030405");
  EXPECT_EQ(outline.version, "1.0");
  EXPECT_EQ(outline.deviceId, "device-7");
}

// As "%04d%02d%02d%02d%02d%02d" formats: widths are minimums, signs count.
TEST(FormatTimestampTest, ZeroPaddedFields) {
  const struct {
    LocalTime time;
    const char* text;
  } cases[] = {
      {{2027, 1, 2, 3, 4, 5}, "20270102030405"},
      {{999, 12, 31, 23, 59, 59}, "09991231235959"},
      {{12345, 100, 0, 0, 0, 0}, "1234510000000000"},
      {{-5, -1, 1, 1, 1, 1}, "-005-101010101"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatTimestamp(c.time), c.text);
}

TEST_F(AssetDocumentBuilderTest, DetailModeDecidesTheClasses) {
  struct Case {
    int detailMode;
    std::size_t classes;
  };
  for (const Case c : {Case{0, 1}, Case{2, 1}, Case{-1, 1}, Case{1, 13}}) {
    SCOPED_TRACE(c.detailMode);
    app_.m_nDetailMode = c.detailMode;
    app_.m_listProcessor.AppendNew().ordinal = 1;
    const DocumentOutline outline = Build();
    EXPECT_EQ(outline.classes.size(), c.classes);
    if (c.classes == 1) {
      EXPECT_EQ(ClassIds(outline), std::vector<std::string>{"TCO_Summary"});
    }
    app_.ClearStore();
    app_.BeginRun();
  }
}

TEST_F(AssetDocumentBuilderTest, EmptyStoreHasThirteenClassesWithOnlyOwnValues) {
  const DocumentOutline outline = Build();
  ASSERT_EQ(outline.classes.size(), 13u);
  for (const ClassOutline& c : outline.classes) {
    const std::size_t expected = c.id == "TCO_Summary" ? 6 : c.id == "Win32_PowerOption" ? 8 : 0;
    EXPECT_EQ(c.properties.size(), expected) << c.id;
  }
  EXPECT_EQ(outline.Summary("Win32_Processor.Count")->text, "0");
  EXPECT_EQ(outline.Summary("Win32_OperatingSystem.Caption")->text, "");
}

TEST_F(AssetDocumentBuilderTest, SummaryValuesAndLists) {
  InventorySummary& s = *app_.m_pSummary;
  s.osCaption = "Windows 98";
  s.cpuName = "Pentium & <II>";
  s.processorCount = 2;
  s.memoryTotal = "268435456";
  s.diskTotal = "8000000000";
  s.diskFree = "1234";
  s.videoNames = {"V1", "V2", "V3"};
  s.cdromNames = {"CD"};
  const DocumentOutline outline = Build();
  const Properties expected = {
      {"1", "Win32_OperatingSystem.Caption", "0", "Windows 98"},
      {"1", "Win32_Processor.Name", "0", "Pentium & <II>"},
      {"1", "Win32_Processor.Count", "0", "2"},
      {"1", "Win32_PhysicalMemory.TotalCapacity", "0", "268435456"},
      {"1", "Win32_DiskDrive.TotalSize", "0", "8000000000"},
      {"1", "Win32_DiskDrive.TotalFreeSize", "0", "1234"},
      {"1", "Win32_VideoController.Caption", "0", "V1"},
      {"2", "Win32_VideoController.Caption", "0", "V2"},
      {"3", "Win32_VideoController.Caption", "0", "V3"},
      {"1", "Win32_CDROMDrive.Name", "0", "CD"},
  };
  EXPECT_EQ(outline.Find("TCO_Summary")->properties, expected);
}

TEST_F(AssetDocumentBuilderTest, MissingSummaryAndPowerLeaveTheirClassesEmpty) {
  app_.m_pSummary.reset();
  app_.m_pPower.reset();
  const DocumentOutline outline = Build();
  ASSERT_EQ(outline.classes.size(), 13u);
  EXPECT_TRUE(outline.Find("TCO_Summary")->properties.empty());
  EXPECT_TRUE(outline.Find("Win32_PowerOption")->properties.empty());
  EXPECT_EQ(outline.Find("TCO_Summary")->changed, "0");
  EXPECT_EQ(outline.Find("Win32_PowerOption")->wmi, "false");
}

TEST_F(AssetDocumentBuilderTest, InstancesCarryTheirOrdinals) {
  for (int ordinal : {1, 2}) {
    ProcessorRecord& cpu = app_.m_listProcessor.AppendNew();
    cpu.ordinal = ordinal;
    cpu.Name = "cpu" + std::to_string(ordinal);
  }
  app_.m_listSound.AppendNull();
  app_.m_listSound.AppendNew().ordinal = 3;
  app_.m_listSound.AppendNull();
  NetworkConfigRecord& config = app_.m_listNetworkConfig.AppendNew();
  config.ordinal = 3;
  config.Index = "11";

  const DocumentOutline outline = Build();
  const Properties& cpus = outline.Find("Win32_Processor")->properties;
  ASSERT_EQ(cpus.size(), 12u);
  for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(cpus[i].index, i < 6 ? "1" : "2");
  EXPECT_EQ(cpus[1].text, "cpu1");
  EXPECT_EQ(cpus[7].text, "cpu2");
  const Properties& sound = outline.Find("Win32_SoundDevice")->properties;
  ASSERT_EQ(sound.size(), 2u);
  EXPECT_EQ(sound[0].index, "3");
  const Properties& configs = outline.Find("Win32_NetworkAdapterConfiguration")->properties;
  ASSERT_EQ(configs.size(), 5u);
  EXPECT_EQ(configs[1], (PropertyOutline{"3", "Index", "-", "11"}));
}

TEST_F(AssetDocumentBuilderTest, OperatingSystemNamesItsFieldsAsWritten) {
  OsRecord& os = app_.m_listOs.AppendNew();
  os.ordinal = 1;
  os.CSDVERSION = "Service Pack 1";
  os.WindowsDirectory = "C:\\WINDOWS";
  os.SystemDirectory = "C:\\WINDOWS\\SYSTEM";
  const DocumentOutline outline = Build();
  const Properties& p = outline.Find("Win32_OperatingSystem")->properties;
  ASSERT_EQ(p.size(), 15u);
  EXPECT_EQ(p[3], (PropertyOutline{"1", "CSDVERSION", "-", "Service Pack 1"}));
  EXPECT_EQ(p[13], (PropertyOutline{"1", "SystemDrive", "-", "C:\\WINDOWS"}));
  EXPECT_EQ(p[14], (PropertyOutline{"1", "SystemDirectory", "-", "C:\\WINDOWS\\SYSTEM"}));
}

TEST_F(AssetDocumentBuilderTest, PowerTimeoutsInWholeMinutes) {
  struct Case {
    std::uint32_t seconds;
    const char* minutes;
  };
  const Case cases[] = {{0, "0"}, {59, "0"}, {119, "1"}, {600, "10"}, {4294967295u, "71582788"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    app_.m_pPower->Monitor_Ac = c.seconds;
    app_.m_pPower->Hibernate_Dc = c.seconds;
    const DocumentOutline outline = Build();
    const Properties& p = outline.Find("Win32_PowerOption")->properties;
    ASSERT_EQ(p.size(), 8u);
    EXPECT_EQ(p[0], (PropertyOutline{"1", "Monitor_Ac", "-", c.minutes}));
    EXPECT_EQ(p[7], (PropertyOutline{"1", "Hibernate_Dc", "-", c.minutes}));
    EXPECT_EQ(p[1].text, "0");
  }
}

TEST_F(AssetDocumentBuilderTest, EmptyDeviceIdIsWrittenEmpty) {
  app_.m_strDeviceId.clear();
  EXPECT_EQ(Build().deviceId, "");
}

TEST_F(AssetDocumentBuilderTest, FailuresStillSetTheTimestamp) {
  struct Case {
    const char* name;
    std::string path;
    bool withFactory;
    int result;
  };
  const Case cases[] = {
      {"missing directory", (dir_ / "missing" / "x.XML").string(), true, -1},
      {"no document object", path_, false, -200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app_.m_strTimestamp.clear();
    EXPECT_EQ(BuildAssetDocument(app_, c.path, c.withFactory ? &factory_ : nullptr, clock_),
              c.result);
    EXPECT_EQ(app_.m_strTimestamp, "20261206090507");
    EXPECT_FALSE(fs::exists(c.path));
  }
}

TEST_F(AssetDocumentBuilderTest, WindowsPathsAreMappedOnTheHost) {
  std::string windowsPath = "Z:" + path_;
  for (char& ch : windowsPath) {
    if (ch == '/') ch = '\\';
  }
  EXPECT_EQ(BuildAssetDocument(app_, windowsPath, &factory_, clock_), 0);
  EXPECT_EQ(DocumentProblems(path_), "");
}

TEST_F(AssetDocumentBuilderTest, OutlineCheckerCatchesDisorder) {
  // The checks themselves must reject a document in the wrong order.
  DocumentOutline outline;
  outline.loaded = true;
  outline.declaration = "version='1.0' encoding='UTF-8' standalone='yes'";
  outline.classes = {{"TCO_Summary", "false", "0", {}},
                     {"Win32_Processor", "true", "1", {}},
                     {"Win32_OperatingSystem", "true", "1", {}}};
  EXPECT_NE(OrderViolations(outline), "");
  outline.classes = {{"TCO_Summary", "false", "0", {}}};
  EXPECT_EQ(OrderViolations(outline), "");
  outline.classes[0].properties = {{"1", "Win32_Processor.Name", "0", ""}};
  EXPECT_NE(OrderViolations(outline), "");
}

}  // namespace

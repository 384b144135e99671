#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../document/AssetDocumentChecks.h"
#include "document/AssetDocumentBuilder.h"
#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"
#include "doubles/FaultyDom.h"
#include "entry/MorvApp.h"
#include "tracking/ChangeComparison.h"
#include "tracking/DocumentReplacement.h"

namespace {

namespace fs = std::filesystem;
using Values = std::vector<std::pair<std::string, std::string>>;
using Names = std::set<std::string>;

constexpr const char* kPreviousStamp = "20200101000000";
constexpr const char* kOs = "Win32_OperatingSystem.Caption";
constexpr const char* kCpu = "Win32_Processor.Name";
constexpr const char* kMemory = "Win32_PhysicalMemory.TotalCapacity";
constexpr const char* kDisk = "Win32_DiskDrive.TotalSize";
constexpr const char* kFree = "Win32_DiskDrive.TotalFreeSize";
constexpr const char* kVideo = "Win32_VideoController.Caption";

// The five compared values as the current run has them.
const Values kCurrent = {{kOs, "Windows 98"},
                         {kCpu, "Pentium II"},
                         {kMemory, "268435456"},
                         {kDisk, "8000"},
                         {kFree, "4000"}};

Values With(Values values, const std::string& name, const std::string& value) {
  for (auto& [n, v] : values) {
    if (n == name) v = value;
  }
  return values;
}

Values Without(Values values, const std::string& name) {
  std::erase_if(values, [&](const auto& entry) { return entry.first == name; });
  return values;
}

// A previous document with the given summary properties.
std::string PreviousDocument(const Values& summary, const std::string& classId = "TCO_Summary") {
  std::string text =
      "<?xml version='1.0' encoding='UTF-8' standalone='yes'?><TS_Root><Device id='d'>"
      "<HardwareAsset version='1.0' currentTimestamp='" +
      std::string(kPreviousStamp) + "' previousTimestamp='" + kPreviousStamp +
      "'>\n  <Class id='Win32_Other' wmi='true' changed='1'/>\n  <Class id='" + classId +
      "' wmi='false' changed='0'>";
  for (const auto& [name, value] : summary) {
    text += "\n    <Property index='1' name='" + name + "' changed='0'>" + value + "</Property>";
  }
  return text + "</Class></HardwareAsset></Device></TS_Root>\n";
}

class ChangeComparisonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("morv-compare-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    app_.InitInstance(host_);
    UseHostDir((dir_ / "agent").string());
    documentPath_ = (dir_ / "AgentHardwareAsset.XML").string();
    app_.m_strDeviceId = "dev";
    app_.m_nDetailMode = 1;
    app_.m_nStatus = 77;
    InventorySummary& s = *app_.m_pSummary;
    s.osCaption = kCurrent[0].second;
    s.cpuName = kCurrent[1].second;
    s.memoryTotal = kCurrent[2].second;
    s.diskTotal = kCurrent[3].second;
    s.diskFree = kCurrent[4].second;
    s.videoNames = {"Video A"};
    clock_.now = {2026, 12, 6, 9, 5, 7};
  }
  void TearDown() override { fs::remove_all(dir_); }

  void UseHostDir(const std::string& hostDir) {
    ASSERT_LT(hostDir.size(), sizeof app_.m_szHostDir);
    std::snprintf(app_.m_szHostDir, sizeof app_.m_szHostDir, "%s", hostDir.c_str());
    staging_ = hostDir + "/Results/Backup/new_AgentHardwareAsset.XML";
    fs::create_directories(fs::path(staging_).parent_path());
  }

  void WritePrevious(const std::string& text) { std::ofstream(documentPath_) << text; }

  int Compare() {
    return CompareWithPrevious(app_, documentPath_,
                               DocumentServices{dom_, clock_, files_, version_});
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The summary property names marked "1".
  static Names Marked(const DocumentOutline& outline) {
    Names marked;
    for (const PropertyOutline& p : outline.Find("TCO_Summary")->properties) {
      if (p.changed == "1") marked.insert(p.name);
    }
    return marked;
  }

  // The staging file as the builder left it: no marks, both stamps its own.
  void ExpectStagingUnmarked() {
    EXPECT_EQ(DocumentProblems(staging_), "");
    const DocumentOutline staged = ReadOutline(staging_);
    EXPECT_EQ(staged.previousTimestamp, staged.currentTimestamp);
    EXPECT_EQ(Marked(staged), Names{});
  }

  fs::path dir_;
  std::string staging_;
  std::string documentPath_;
  FakeHostProcess host_;
  CMorvApp app_;
  PugiDomFactory pugi_;
  IDomFactory* dom_ = &pugi_;
  FakeClock clock_;
  HostFileSystem files_;
  FakeVersionInfo version_;
};

TEST_F(ChangeComparisonTest, MarksOnlyTheComparedValuesThatDiffer) {
  struct Case {
    const char* name;
    Values previous;
    Names marked;
  };
  const Case cases[] = {
      {"unchanged", kCurrent, {}},
      {"free space changed", With(kCurrent, kFree, "3999"), {kFree}},
      {"letter case only", With(With(kCurrent, kCpu, "PENTIUM ii"), kOs, "windows 98"), {}},
      {"nothing trimmed", With(kCurrent, kCpu, " Pentium II"), {kCpu}},
      {"control characters in previous values",
       With(With(kCurrent, kCpu, "Pentium&#1; II"), kOs, "Windows\037 98"),
       {}},
      {"one value missing", Without(kCurrent, kMemory), {kMemory}},
      {"no values", {}, {kOs, kCpu, kMemory, kDisk, kFree}},
      {"names in other case", With(kCurrent, "win32_processor.NAME", "x"), {}},
      {"the later duplicate wins",
       [] {
         Values v = With(kCurrent, kCpu, "Old");
         v.push_back({kCpu, "Pentium II"});
         return v;
       }(),
       {}},
      {"duplicate after the right value",
       [] {
         Values v = kCurrent;
         v.push_back({kDisk, "1"});
         return v;
       }(),
       {kDisk}},
      {"other properties ignored",
       [] {
         Values v = kCurrent;
         v.push_back({kVideo, "Video B"});
         v.push_back({"Win32_Processor.Count", "9"});
         return v;
       }(),
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WritePrevious(PreviousDocument(c.previous));
    app_.m_nStatus = 77;
    ASSERT_EQ(Compare(), 0);
    EXPECT_EQ(app_.m_nStatus, c.marked.empty() ? 0 : 1);
    EXPECT_EQ(DocumentProblems(documentPath_), "");
    EXPECT_EQ(Read(documentPath_), Read(staging_));
    const DocumentOutline result = ReadOutline(documentPath_);
    EXPECT_EQ(Marked(result), c.marked);
    EXPECT_EQ(result.previousTimestamp, kPreviousStamp);
    EXPECT_EQ(result.currentTimestamp, "20261206090507");
    EXPECT_EQ(result.Find("TCO_Summary")->changed, "0");
    EXPECT_EQ(result.Find("Win32_Processor")->changed, "1");
  }
}

TEST_F(ChangeComparisonTest, TwoRunsCarryTheFirstTimestamp) {
  clock_.now = {2026, 1, 2, 3, 4, 5};
  ASSERT_EQ(BuildAssetDocument(app_, documentPath_, dom_, clock_), 0);
  clock_.now = {2026, 1, 2, 3, 4, 6};
  app_.m_pSummary->diskFree = "3000";
  ASSERT_EQ(Compare(), 0);
  const DocumentOutline second = ReadOutline(documentPath_);
  EXPECT_EQ(second.previousTimestamp, "20260102030405");
  EXPECT_EQ(second.currentTimestamp, "20260102030406");
  EXPECT_EQ(app_.m_strTimestamp, "20260102030406");
  EXPECT_EQ(Marked(second), Names{kFree});
  EXPECT_EQ(app_.m_nStatus, 1);
  EXPECT_EQ(DocumentProblems(documentPath_), "");
}

TEST_F(ChangeComparisonTest, NewSummaryWithoutPropertiesIsUnchanged) {
  app_.m_pSummary.reset();
  WritePrevious(PreviousDocument(kCurrent));
  ASSERT_EQ(Compare(), 0);
  EXPECT_EQ(app_.m_nStatus, 0);
  EXPECT_EQ(ReadOutline(documentPath_).previousTimestamp, kPreviousStamp);
}

// Every early return: the result, what the status and the files hold.
TEST_F(ChangeComparisonTest, FailuresLeaveDocumentPathAlone) {
  enum class Staging { kAbsent, kUnmarked, kMarked, kBroken };
  FaultyDomFactory faulty(pugi_);
  struct Case {
    const char* name;
    std::function<void()> arrange;
    int result;
    int status;
    Staging staging;
  };
  const std::string previous = PreviousDocument(With(kCurrent, kFree, "1"));
  const Case cases[] = {
      {"malformed previous", [&] { WritePrevious("<TS_Root><Device>"); }, -203, 77,
       Staging::kUnmarked},
      {"previous declaring a document type",
       [&] {
         std::string text = previous;
         WritePrevious(text.insert(text.find("?>") + 2, "<!DOCTYPE TS_Root [<!ENTITY e 'x'>]>"));
       },
       -203, 77, Staging::kUnmarked},
      {"previous without summary class",
       [&] { WritePrevious(PreviousDocument(kCurrent, "TCO_Other")); }, -205, 77,
       Staging::kUnmarked},
      {"directory at the document path",
       [&] {
         fs::remove(documentPath_);
         fs::create_directory(documentPath_);
       },
       -203, 77, Staging::kUnmarked},
      {"no backup directory", [&] { fs::remove_all(dir_ / "agent" / "Results"); }, -1, 77,
       Staging::kAbsent},
      {"no document object for the build", [&] { faulty.failCreations = {1}; }, -200, 77,
       Staging::kAbsent},
      {"no document object for the previous", [&] { faulty.failCreations = {2}; }, -200, 77,
       Staging::kUnmarked},
      {"marked document not saved", [&] { faulty.failSaves = {1}; }, -1, 77, Staging::kAbsent},
      {"copy over the document path fails", [&] { files_.failOperations = {"CopyFile"}; }, -206, 1,
       Staging::kMarked},
      {"moving the copy over the document path fails",
       [&] { files_.failOperations = {"ReplaceFile"}; }, -206, 1, Staging::kMarked},
      {"marked document save stopped half-way", [&] { faulty.interruptSaves = {1}; }, -1, 77,
       Staging::kBroken},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_);
    UseHostDir((dir_ / "agent").string());
    WritePrevious(previous);
    faulty.failCreations.clear();
    faulty.failSaves.clear();
    faulty.interruptSaves.clear();
    faulty.creations = faulty.saves = 0;
    files_.failOperations.clear();
    dom_ = &faulty;
    app_.m_nStatus = 77;
    c.arrange();
    const bool documentIsFile = fs::is_regular_file(documentPath_);
    const std::string before = documentIsFile ? Read(documentPath_) : "";

    EXPECT_EQ(Compare(), c.result);
    EXPECT_EQ(app_.m_nStatus, c.status);
    EXPECT_EQ(fs::is_regular_file(documentPath_), documentIsFile);
    if (documentIsFile) {
      EXPECT_EQ(Read(documentPath_), before);
    }
    switch (c.staging) {
      case Staging::kAbsent:
        EXPECT_FALSE(fs::exists(staging_));
        break;
      case Staging::kUnmarked:
        ExpectStagingUnmarked();
        break;
      case Staging::kMarked:
        EXPECT_EQ(Marked(ReadOutline(staging_)), Names{kFree});
        EXPECT_EQ(ReadOutline(staging_).previousTimestamp, kPreviousStamp);
        break;
      case Staging::kBroken:
        EXPECT_NE(DocumentProblems(staging_), "");
        break;
    }
    EXPECT_FALSE(fs::exists(SidePathOf(documentPath_)));
  }
}

TEST_F(ChangeComparisonTest, StagingPathMustFitItsBuffer) {
  // "\Results\Backup\new_AgentHardwareAsset.XML" is 42 characters; with the
  // terminating zero a host directory of 213 characters is the longest.
  struct Case {
    std::size_t hostDirLength;
    int result;
  };
  for (const Case c : {Case{213, 0}, Case{214, -1}}) {
    SCOPED_TRACE(c.hostDirLength);
    fs::remove_all(dir_);
    const std::string base = (dir_ / "").string();
    ASSERT_LT(base.size() + 1, c.hostDirLength);
    UseHostDir(base + std::string(c.hostDirLength - base.size(), 'h'));
    WritePrevious(PreviousDocument(kCurrent));
    app_.m_strTimestamp = "untouched";
    EXPECT_EQ(Compare(), c.result);
    EXPECT_EQ(fs::exists(staging_), c.result == 0);
    EXPECT_EQ(app_.m_strTimestamp == "untouched", c.result != 0);
  }
}

TEST_F(ChangeComparisonTest, ReadPreviousSummaryFillsOnlyWhatItFinds) {
  InventorySummary previous;
  previous.osCaption = "kept";
  std::string stamp = "old";
  WritePrevious(
      "<TS_Root><Device><HardwareAsset><Class id='tco_summary'>"
      "<Property name='Win32_Processor.Name'>A</Property><Property>unnamed</Property>"
      "text<Property name='WIN32_DISKDRIVE.TOTALSIZE'>9</Property>"
      "</Class></HardwareAsset></Device></TS_Root>");
  EXPECT_EQ(ReadPreviousSummary(documentPath_, previous, stamp, dom_), 0);
  EXPECT_EQ(stamp, "");
  EXPECT_EQ(previous.cpuName, "A");
  EXPECT_EQ(previous.diskTotal, "9");
  EXPECT_EQ(previous.osCaption, "kept");
  EXPECT_EQ(previous.diskFree, "");

  EXPECT_EQ(ReadPreviousSummary((dir_ / "none.xml").string(), previous, stamp, dom_), -203);
  EXPECT_EQ(ReadPreviousSummary(documentPath_, previous, stamp, nullptr), -200);
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "doubles/FakePlatform.h"
#include "doubles/FakeRunSteps.h"
#include "entry/HwInvCall.h"
#include "entry/MorvApp.h"
#include "entry/RunDriver.h"

namespace {

using Calls = std::vector<std::string>;

class RunDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("morv-driver-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    documentPath_ = dir_.string() + "/AgentHardwareAsset.XML";
    app_.InitInstance(host_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  int Run(int detailMode = 1, const char* deviceId = "dev") {
    RunContext run{app_, steps_, version_, com_, files_, debug_};
    return call_.Run(run, detailMode, deviceId, documentPath_.c_str(), &status_, stamp_);
  }

  void CreateDocument() { std::ofstream(documentPath_) << "<x/>"; }

  // The calls of a run between collection and the document step, when WMI
  // left every summary value empty.
  static Calls AllFallbacks() {
    return {"GetOsEditionCode",       "GetProcessorDescription", "GetTotalPhysicalMemory",
            "GetFixedDiskTotalBytes", "GetFixedDiskFreeBytes",   "FindDisplayAdapterNames",
            "FindMonitorNames",       "FindCdromNames"};
  }

  std::filesystem::path dir_;
  std::string documentPath_;
  FakeHostProcess host_;
  CMorvApp app_;
  FakeRunSteps steps_;
  FakeVersionInfo version_;
  FakeComRuntime com_;
  HostFileSystem files_;
  FakeDebugOutput debug_;
  HwInvCall call_;
  int status_ = 77;
  char stamp_[15] = "unset";
};

Calls Concat(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(RunDriverTest, FirstRunBuildsFreshDocumentAndClearsStore) {
  EXPECT_EQ(Run(), 0);
  const Calls expected =
      Concat({{"Initialize", "Collect"},
              AllFallbacks(),
              {"ReadPowerPolicy", "BuildAssetDocument(" + documentPath_ + ")", "~Wmi"}});
  EXPECT_EQ(steps_.calls, expected);
  EXPECT_EQ(status_, 1);
  EXPECT_STREQ(stamp_, "20261206090507");
  EXPECT_EQ(app_.m_strDeviceId, "dev");
  EXPECT_EQ(app_.m_nDetailMode, 1);
  EXPECT_TRUE(app_.m_listOs.Empty());
  EXPECT_EQ(app_.m_pSummary, nullptr);
  EXPECT_EQ(app_.m_pPower, nullptr);
  EXPECT_EQ(debug_.lines, (Calls{"Video count : 0", "Monitor count : 0"}));
}

TEST_F(RunDriverTest, ExistingDocumentIsCompared) {
  CreateDocument();
  steps_.compareStatus = 0;
  steps_.compareResult = -205;
  EXPECT_EQ(Run(), -205);
  EXPECT_EQ(steps_.calls.at(steps_.calls.size() - 2), "CompareWithPrevious(" + documentPath_ + ")");
  EXPECT_EQ(status_, 0);
}

TEST_F(RunDriverTest, DirectoryAtDocumentPathCountsAsExisting) {
  std::filesystem::create_directory(documentPath_);
  EXPECT_EQ(FileExists(files_, documentPath_), 1);
  EXPECT_EQ(FileExists(files_, documentPath_ + ".missing"), 0);
  Run();
  EXPECT_EQ(steps_.calls.at(steps_.calls.size() - 2), "CompareWithPrevious(" + documentPath_ + ")");
}

TEST_F(RunDriverTest, FailedBuildStillReportsStatusOne) {
  app_.m_nStatus = 0;
  steps_.buildResult = -200;
  EXPECT_EQ(Run(), -200);
  EXPECT_EQ(status_, 1);
}

TEST_F(RunDriverTest, WmiInitialisation) {
  const struct {
    int init;
    int result;
    bool collects;
  } cases[] = {
      {1, 0, true}, {-23, 0, true}, {-1, -100, false}, {-2, -100, false}, {0, -100, false}};
  for (const auto& c : cases) {
    steps_ = FakeRunSteps{};
    debug_.lines.clear();
    steps_.initializeResult = c.init;
    EXPECT_EQ(Run(), c.result) << c.init;
    EXPECT_EQ(steps_.calls.size() > 2 && steps_.calls[1] == "Collect", c.collects) << c.init;
    if (!c.collects) {
      EXPECT_EQ(steps_.calls, (Calls{"Initialize", "~Wmi"}));
      EXPECT_EQ(debug_.lines, Calls{"HW Inv DLL wmi.Init result : " + std::to_string(c.init)});
    }
  }
}

TEST_F(RunDriverTest, CollectionFailureStopsTheRunOnNtOnly) {
  const struct {
    std::uint32_t version;
    bool stops;
  } cases[] = {{versions::kNt4, true},    {versions::kWin2000, true}, {versions::kWin7, true},
               {versions::kWin98, false}, {0xC0000004u, false},       {0x80000000u, false},
               {0x7FFFFFFFu, true}};
  for (const auto& c : cases) {
    CMorvApp app;
    app.InitInstance(host_);
    steps_ = FakeRunSteps{};
    steps_.collectResult = -122;
    steps_.buildResult = -1;
    version_.version = c.version;
    int status = 5;
    char stamp[15] = "old";
    RunContext run{app, steps_, version_, com_, files_, debug_};
    const int result = call_.Run(run, 1, "d", documentPath_.c_str(), &status, stamp);
    if (c.stops) {
      EXPECT_EQ(result, -122) << std::hex << c.version;
      EXPECT_EQ(steps_.calls, (Calls{"Initialize", "Collect", "~Wmi"}));
      EXPECT_EQ(status, 1);                     // untouched since construction
      EXPECT_STREQ(stamp, "");                  // no build yet in this load
      EXPECT_EQ(app.m_listOs.NodeCount(), 1u);  // the store is not cleared
    } else {
      EXPECT_EQ(result, -1) << std::hex << c.version;
      EXPECT_EQ(steps_.calls.back(), "~Wmi");
      EXPECT_EQ(status, 1);
      EXPECT_STREQ(stamp, "20261206090507");
      EXPECT_TRUE(app.m_listOs.Empty());
    }
  }
}

TEST_F(RunDriverTest, EarlyReturnGivesThePreviousRunsStatusAndTimestamp) {
  CreateDocument();
  steps_.compareStatus = 0;
  steps_.timestamp = "20261205101010";
  ASSERT_EQ(Run(), 0);
  steps_.collectResult = -101;
  steps_.timestamp = "20261206000000";
  EXPECT_EQ(Run(), -101);
  EXPECT_EQ(status_, 0);
  EXPECT_STREQ(stamp_, "20261205101010");
}

// The summary as the document step sees it.
class SummaryAtBuild : public RunDriverTest {
 protected:
  InventorySummary RunAndCapture() {
    struct Steps : FakeRunSteps {
      InventorySummary seen;
      int BuildAssetDocument(CMorvApp& app, const std::string& path) override {
        seen = *app.m_pSummary;
        return FakeRunSteps::BuildAssetDocument(app, path);
      }
    } steps;
    steps.collected = collected;
    steps.editionCode = editionCode;
    steps.memory = 8589934592ull;
    steps.diskTotal = 4000000000000ull;
    steps.diskFree = 0;
    steps.videoFound = {"Adapter"};
    steps.monitorsFound = {"Mon A", "Mon B"};
    RunContext run{app_, steps, version_, com_, files_, debug_};
    RunInventory(run, "d", documentPath_);
    calls = steps.calls;
    return steps.seen;
  }
  InventorySummary collected;
  int editionCode = 0;
  Calls calls;
};

TEST_F(SummaryAtBuild, EmptyValuesAreFilledAndEachTestIsIndependent) {
  collected.cpuName = "WMI cpu";
  collected.memoryTotal = "0";
  collected.diskTotal = "00";
  collected.diskFree = "";
  collected.cdromNames = {"CD"};
  collected.soundNames = {};
  const InventorySummary s = RunAndCapture();
  EXPECT_EQ(s.osCaption, "Unknown Windows");
  EXPECT_EQ(s.cpuName, "WMI cpu");
  EXPECT_EQ(s.memoryTotal, "8589934592");
  EXPECT_EQ(s.diskTotal, "00");
  EXPECT_EQ(s.diskFree, "0");
  EXPECT_EQ(s.videoNames, Calls{"Adapter"});
  EXPECT_EQ(s.monitorNames, (Calls{"Mon A", "Mon B"}));
  EXPECT_EQ(s.cdromNames, Calls{"CD"});
  EXPECT_TRUE(s.soundNames.empty());
  EXPECT_EQ(debug_.lines, (Calls{"Video count : 1", "Monitor count : 2"}));
  for (const char* skipped :
       {"GetProcessorDescription", "GetFixedDiskTotalBytes", "FindCdromNames"})
    EXPECT_EQ(std::count(calls.begin(), calls.end(), skipped), 0) << skipped;
}

TEST_F(SummaryAtBuild, OsCaptionFromTheEditionCode) {
  const struct {
    std::string collected;
    int code;
    std::string caption;
  } cases[] = {
      {"", 0, "Unknown Windows"},       {"", 2999, "Unknown Windows"}, {"", 3000, "Edition 3000"},
      {"", 3028, "Edition 3028"},       {"", 3029, "Unknown Windows"}, {"", -5, "Unknown Windows"},
      {"Windows 7", 3020, "Windows 7"},
  };
  for (const auto& c : cases) {
    collected.osCaption = c.collected;
    editionCode = c.code;
    EXPECT_EQ(RunAndCapture().osCaption, c.caption) << c.code;
    const bool askedName = std::count(calls.begin(), calls.end(),
                                      "GetOsEditionName(" + std::to_string(c.code) + ")") == 1;
    EXPECT_EQ(askedName, c.caption.rfind("Edition", 0) == 0) << c.code;
  }
}

TEST_F(SummaryAtBuild, NothingIsAskedWhenWmiDeliveredEverything) {
  collected = InventorySummary{3, "OS", "CPU", "1", "2", "3", {"v"}, {"m"}, {"c"}, {"s"}};
  const InventorySummary s = RunAndCapture();
  EXPECT_EQ(calls, (Calls{"Initialize", "Collect", "GetOsEditionCode", "ReadPowerPolicy",
                          "BuildAssetDocument(" + documentPath_ + ")", "~Wmi"}));
  EXPECT_EQ(s.processorCount, 3);
  EXPECT_TRUE(debug_.lines.empty());
}

TEST_F(RunDriverTest, WalksShareTheEditionCode) {
  steps_.editionCode = 3007;
  Run();
  ASSERT_EQ(steps_.factsSeen.size(), 3u);
  for (const PlatformFacts& facts : steps_.factsSeen) EXPECT_EQ(facts.OsEditionCode, 3007);
}

TEST_F(RunDriverTest, EverySecondRunHasItsOwnSummaryAndPowerRecord) {
  for (int run = 0; run < 3; ++run) {
    steps_.calls.clear();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(steps_.calls.at(2), "GetOsEditionCode") << run;
    EXPECT_NE(std::find(steps_.calls.begin(), steps_.calls.end(), "ReadPowerPolicy"),
              steps_.calls.end());
  }
}

TEST_F(RunDriverTest, AbortedRunLeavesNothingForTheNext) {
  steps_.collectResult = -117;
  ASSERT_EQ(Run(), -117);
  ASSERT_EQ(app_.m_listOs.NodeCount(), 1u);
  steps_.collectResult = 0;
  struct Steps : FakeRunSteps {
    std::size_t osRecordsAtBuild = 0;
    int BuildAssetDocument(CMorvApp& app, const std::string& path) override {
      osRecordsAtBuild = app.m_listOs.NodeCount();
      return FakeRunSteps::BuildAssetDocument(app, path);
    }
  } steps;
  RunContext run{app_, steps, version_, com_, files_, debug_};
  EXPECT_EQ(RunInventory(run, "d", documentPath_), 0);
  EXPECT_EQ(steps.osRecordsAtBuild, 1u);
}

TEST_F(RunDriverTest, DocumentStepEntersComByVersion) {
  const struct {
    std::uint32_t version;
    const char* entry;
  } cases[] = {{versions::kNt4, "InitializeEx(0)"},
               {0x07FFFFFFu, "InitializeEx(0)"},
               {0x08000000u, "Initialize"},
               {versions::kWin2000, "Initialize"},
               {versions::kWin98, "Initialize"}};
  for (const auto& c : cases) {
    com_.calls.clear();
    version_.version = c.version;
    RunContext run{app_, steps_, version_, com_, files_, debug_};
    WriteAssetDocument(run, documentPath_);
    EXPECT_EQ(com_.calls, (Calls{c.entry, "Uninitialize"})) << std::hex << c.version;
  }
}

TEST_F(RunDriverTest, DocumentStepDoesNotLeaveComItCouldNotEnter) {
  com_.initializeResult = hr::kRpcChangedMode;
  RunContext run{app_, steps_, version_, com_, files_, debug_};
  WriteAssetDocument(run, documentPath_);
  EXPECT_EQ(com_.calls, Calls{"Initialize"});
}

TEST_F(RunDriverTest, BoundaryToleratesNullArguments) {
  RunContext run{app_, steps_, version_, com_, files_, debug_};
  EXPECT_EQ(call_.Run(run, 0, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(app_.m_strDeviceId, "");
  EXPECT_EQ(steps_.calls.at(steps_.calls.size() - 2), "BuildAssetDocument()");
  EXPECT_EQ(app_.m_nDetailMode, 0);
}

TEST_F(RunDriverTest, EscapingExceptionEndsTheCallWithInternalError) {
  struct Throwing : FakeRunSteps {
    void ReadPowerPolicy(CMorvApp&) override { throw std::bad_alloc(); }
  } steps;
  RunContext run{app_, steps, version_, com_, files_, debug_};
  app_.m_nStatus = 0;
  EXPECT_EQ(call_.Run(run, 1, "d", documentPath_.c_str(), &status_, stamp_), kInternalError);
  EXPECT_EQ(status_, 0);
  EXPECT_STREQ(stamp_, "");
  // The next run starts clean.
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(status_, 1);
}

TEST_F(RunDriverTest, ACallFromTheRunningThreadReturnsAtOnceAndTouchesNothing) {
  // The step of the running call from which the host calls again.
  for (const char* step : {"Initialize", "Collect", "GetProcessorDescription", "ReadPowerPolicy",
                           "BuildAssetDocument", "~Wmi"}) {
    steps_ = FakeRunSteps{};
    int inner = 0, innerStatus = 5;
    char innerStamp[15] = "inner";
    bool calledAgain = false;
    steps_.onCall = [&](const std::string& call) {
      if (calledAgain || call.rfind(step, 0) != 0) return;
      calledAgain = true;
      const std::size_t asked = steps_.calls.size();
      RunContext run{app_, steps_, version_, com_, files_, debug_};
      inner = call_.Run(run, 0, "other", "other.xml", &innerStatus, innerStamp);
      EXPECT_EQ(steps_.calls.size(), asked) << step;
    };
    EXPECT_EQ(Run(), 0) << step;
    EXPECT_EQ(inner, -998) << step;
    EXPECT_EQ(innerStatus, 5) << step;
    EXPECT_STREQ(innerStamp, "inner") << step;
    EXPECT_EQ(app_.m_strDeviceId, "dev") << step;
    EXPECT_EQ(app_.m_nDetailMode, 1) << step;
    EXPECT_EQ(status_, 1) << step;
    EXPECT_STREQ(stamp_, "20261206090507") << step;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "../document/AssetDocumentChecks.h"
#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"
#include "doubles/FaultyDom.h"
#include "entry/MorvApp.h"
#include "tracking/ChangeComparison.h"
#include "tracking/DocumentReplacement.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A write step that fails at any point leaves the document path holding a
// whole document, the old one or the new one, and no side file.
class DocumentReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("morv-replace-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    documentPath_ = (dir_ / "AgentHardwareAsset.XML").string();
    app_.InitInstance(host_);
    app_.m_strDeviceId = "dev";
    app_.m_nDetailMode = 1;
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  std::string documentPath_;
  FakeHostProcess host_;
  CMorvApp app_;
  PugiDomFactory pugi_;
  FaultyDomFactory faulty_{pugi_};
  FakeClock clock_;
  HostFileSystem files_;
  FakeVersionInfo version_;
};

TEST_F(DocumentReplacementTest, FreshBuildAppearsWholeOrNotAtAll) {
  const struct {
    const char* name;
    std::function<void()> arrange;
    int result;
  } cases[] = {
      {"all steps succeed", [] {}, 0},
      {"no document object", [&] { faulty_.failCreations = {1}; }, -200},
      {"save fails", [&] { faulty_.failSaves = {1}; }, -1},
      {"save stopped half-way", [&] { faulty_.interruptSaves = {1}; }, -1},
      {"move over the path fails", [&] { files_.failOperations = {"ReplaceFile"}; }, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(documentPath_);
    faulty_.failCreations.clear();
    faulty_.failSaves.clear();
    faulty_.interruptSaves.clear();
    faulty_.creations = faulty_.saves = 0;
    files_.failOperations.clear();
    c.arrange();
    EXPECT_EQ(BuildFreshDocument(app_, documentPath_,
                                 DocumentServices{&faulty_, clock_, files_, version_}),
              c.result);
    EXPECT_EQ(fs::exists(documentPath_), c.result == 0);
    if (c.result == 0) {
      EXPECT_EQ(DocumentProblems(documentPath_), "");
    }
    EXPECT_FALSE(fs::exists(SidePathOf(documentPath_)));
    EXPECT_EQ(app_.m_strTimestamp, "20261206090507");
  }
}

TEST_F(DocumentReplacementTest, ReplacementKeepsTheOldDocumentUntilTheNewOneIsWhole) {
  const std::string source = (dir_ / "new.xml").string();
  std::ofstream(source) << "<new/>";
  const struct {
    const char* failing;
    bool replaced;
  } cases[] = {{"", true}, {"CopyFile", false}, {"ReplaceFile", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    std::ofstream(documentPath_, std::ios::trunc) << "<old/>";
    files_.failOperations.clear();
    if (*c.failing) files_.failOperations.insert(c.failing);
    EXPECT_EQ(ReplaceWithCopyOf(DocumentServices{nullptr, clock_, files_, version_}, source,
                                documentPath_),
              c.replaced);
    EXPECT_EQ(Read(documentPath_), c.replaced ? "<new/>" : "<old/>");
    EXPECT_EQ(Read(source), "<new/>");
    EXPECT_FALSE(fs::exists(SidePathOf(documentPath_)));
  }
}

}  // namespace

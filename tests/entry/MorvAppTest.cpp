#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "doubles/FakePlatform.h"
#include "entry/MorvApp.h"

namespace {

TEST(HostDirectory, CutsAtTheLastBackslash) {
  const struct {
    const char* path;
    const char* dir;
  } cases[] = {
      {"C:\\Agent\\agent.exe", "C:\\Agent"},
      {"C:\\agent.exe", "C:"},
      {"agent.exe", "agent.exe"},
      {"\\\\server\\share\\x\\a.exe", "\\\\server\\share\\x"},
      {"", ""},
  };
  for (const auto& c : cases) {
    FakeHostProcess host;
    host.path = c.path;
    CMorvApp app;
    EXPECT_EQ(app.InitInstance(host), 1);
    EXPECT_STREQ(app.m_szHostDir, c.dir) << c.path;
  }
}

TEST(HostDirectory, LongPathIsCutToTheBuffer) {
  FakeHostProcess host;
  // The path is read into 256 bytes, so the backslash before the file
  // name is lost and the cut falls at the last one that was read.
  host.path = "C:\\dir\\";
  host.path.append(300, 'a').append("\\agent.exe");
  CMorvApp app;
  app.InitInstance(host);
  EXPECT_STREQ(app.m_szHostDir, "C:\\dir");
}

TEST(Store, ConstructionAndInit) {
  CMorvApp app;
  EXPECT_EQ(app.m_nStatus, 1);
  EXPECT_EQ(app.m_nDetailMode, 0);
  EXPECT_TRUE(app.m_strTimestamp.empty());
  EXPECT_EQ(app.m_pSummary, nullptr);
  EXPECT_EQ(app.m_pPower, nullptr);
  FakeHostProcess host;
  app.InitInstance(host);
  ASSERT_NE(app.m_pSummary, nullptr);
  ASSERT_NE(app.m_pPower, nullptr);
  EXPECT_EQ(app.m_pSummary->processorCount, 0);
  EXPECT_TRUE(app.m_pSummary->osCaption.empty());
  EXPECT_EQ(app.m_pPower->Hibernate_Dc, 0u);
}

TEST(Store, ClearStoreFreesRecordsAndKeepsEmptyNodes) {
  CMorvApp app;
  FakeHostProcess host;
  app.InitInstance(host);
  app.m_listOs.AppendNew();
  app.m_listProcessor.AppendNull();
  app.m_listProcessor.AppendNew();
  app.m_listSound.AppendNew();
  app.m_listSound.AppendNew();

  app.ClearStore();
  EXPECT_EQ(app.m_listOs.NodeCount(), 0u);
  EXPECT_EQ(app.m_listProcessor.NodeCount(), 1u);  // the empty node stays
  EXPECT_EQ(app.m_listSound.NodeCount(), 0u);
  EXPECT_EQ(app.m_pSummary, nullptr);
  EXPECT_EQ(app.m_pPower, nullptr);

  app.ClearStore();  // a second call finds nothing left to free
  EXPECT_EQ(app.m_listProcessor.NodeCount(), 1u);
  EXPECT_EQ(app.ExitInstance(), 0);
}

TEST(Store, ReadersStepOverEmptyNodes) {
  RecordList<SoundRecord> list;
  list.Append(std::make_unique<SoundRecord>(SoundRecord{1, "a", ""}));
  list.AppendNull();
  list.Append(std::make_unique<SoundRecord>(SoundRecord{3, "b", ""}));
  std::vector<std::string> seen;
  list.ForEach([&](const SoundRecord& r) { seen.push_back(r.Caption); });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(list.NodeCount(), 3u);
}

TEST(Store, BeginRunGivesAFreshStore) {
  CMorvApp app;
  app.m_listVideo.AppendNew();
  app.BeginRun();
  EXPECT_TRUE(app.m_listVideo.Empty());
  ASSERT_NE(app.m_pSummary, nullptr);
  ASSERT_NE(app.m_pPower, nullptr);
  app.m_pSummary->cpuName = "left over";
  app.BeginRun();
  EXPECT_TRUE(app.m_pSummary->cpuName.empty());
}

}  // namespace

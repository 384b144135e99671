#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "agent/AgentOptions.h"

namespace {

using Args = std::vector<std::string>;

TEST(AgentOptions, Defaults) {
  const ParsedOptions parsed = ParseAgentOptions({});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->detailMode, 1);
  EXPECT_FALSE(parsed.options->deviceId);
  EXPECT_EQ(parsed.options->documentPath, "AgentHardwareAsset.XML");
  EXPECT_TRUE(parsed.options->createStaging);
  EXPECT_EQ(parsed.options->runs, 1);
}

TEST(AgentOptions, Accepted) {
  const ParsedOptions parsed =
      ParseAgentOptions({"--detail", "0", "--device", "", "--document", "C:\\x y\\a.xml",
                         "--no-staging", "--runs", "1000", "--detail", "-7"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->detailMode, -7);  // the last one wins
  EXPECT_EQ(parsed.options->deviceId, "");    // an empty id is the caller's choice
  EXPECT_EQ(parsed.options->documentPath, "C:\\x y\\a.xml");
  EXPECT_FALSE(parsed.options->createStaging);
  EXPECT_EQ(parsed.options->runs, 1000);
}

TEST(AgentOptions, Rejected) {
  const struct {
    Args args;
    const char* error;
  } cases[] = {
      {{"--detail"}, "missing value for --detail"},
      {{"--detail", "one"}, "bad detail mode: one"},
      {{"--detail", "1x"}, "bad detail mode: 1x"},
      {{"--detail", ""}, "bad detail mode: "},
      {{"--detail", "99999999999"}, "bad detail mode: 99999999999"},
      {{"--runs", "0"}, "bad run count: 0"},
      {{"--document", ""}, "empty document path"},
      {{"--verbose"}, "unknown argument: --verbose"},
      {{"--document"}, "missing value for --document"},
      {{"extra"}, "unknown argument: extra"},
      {{"--colour", "red"}, "unknown argument: --colour"},
      {{"--show", ""}, "empty document path"},
      {{"--show", "a.xml", "--runs", "2"}, "--show runs no inventory: drop --runs"},
      {{"--no-staging", "--show"}, "--show runs no inventory: drop --no-staging"},
  };
  for (const auto& c : cases) {
    const ParsedOptions parsed = ParseAgentOptions(c.args);
    EXPECT_FALSE(parsed.options) << c.error;
    EXPECT_EQ(parsed.error, c.error);
  }
}

TEST(AgentOptions, ShowTakesAnOptionalPath) {
  const struct {
    Args args;
    const char* path;
  } cases[] = {
      {{"--show"}, "AgentHardwareAsset.XML"},
      {{"--show", "C:\\x\\a.xml"}, "C:\\x\\a.xml"},
      {{"--document", "a.xml", "--show"}, "a.xml"},
      {{"--show", "--document", "b.xml"}, "b.xml"},
  };
  for (const auto& c : cases) {
    const ParsedOptions parsed = ParseAgentOptions(c.args);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_TRUE(parsed.options->show);
    EXPECT_EQ(parsed.options->documentPath, c.path);
  }
}

TEST(AgentOptions, HelpIsNotAnError) {
  for (const char* help : {"--help", "-h"}) {
    const ParsedOptions parsed = ParseAgentOptions({"--detail", "0", help});
    EXPECT_FALSE(parsed.options);
    EXPECT_TRUE(parsed.error.empty());
  }
}

}  // namespace

// Contract of CRegUtil, run against the double and the Windows registry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/RegUtil.h"
#include "registry/RegistryUnderTest.h"

namespace {

constexpr const char* kBase = "SOFTWARE\\MorvTest\\RegUtil";
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

class RegUtilTest : public ::testing::Test {
 protected:
  std::unique_ptr<IRegistry> registry = MakeRegistryUnderTest();
  CRegUtil util{*registry};

  IRegistry::Key Open(const std::string& path) {
    IRegistry::Key key = 0;
    EXPECT_EQ(registry->OpenKey(path, key), IRegistry::kSuccess) << path;
    return key;
  }
  // A closed handle no longer answers.
  void ExpectClosed(IRegistry::Key key) {
    std::uint32_t count = 0;
    EXPECT_NE(registry->QuerySubKeyCount(key, count), IRegistry::kSuccess);
  }
};

TEST_F(RegUtilTest, ReadValueSucceedsOnlyWhenTheWholeValueFits) {
  struct Case {
    const char* key;
    const char* value;
    std::uint32_t size;
    int result;
    std::string data;  // expected buffer start on success
  };
  const std::string base = kBase;
  const Case cases[] = {
      {kBase, "Exact", 8, 1, std::string("abcdefg\0", 8)},  // exactly the buffer
      {kBase, "Exact", 7, 0, ""},                           // one byte more than the buffer
      {kBase, "Exact", 64, 1, std::string("abcdefg\0", 8)},
      {kBase, "Binary", 3, 1, "\x01\x02\x03"},
      {kBase, "Quoted", 64, 1, "say \"hi\" C:\\dir\\"},
      {kBase, "", 64, 1, "default text"},
      {kBase, "Missing", 64, 0, ""},
      {"SOFTWARE\\MorvTest\\Nowhere", "Exact", 64, 0, ""},
      {"SOFTWARE\\MorvTest\\RegUtil\\beta", "Long", 20, 1, std::string("\0\1\2\3", 4)},
      {"SOFTWARE\\MorvTest\\RegUtil\\beta", "Long", 19, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " / " + c.value + " / " + std::to_string(c.size));
    char buffer[65] = {};
    EXPECT_EQ(util.ReadValue(c.key, c.value, buffer, c.size, kRegSz), c.result);
    if (c.result == 1) {
      EXPECT_EQ(std::memcmp(buffer, c.data.data(), c.data.size()), 0);
    }
  }
}

TEST_F(RegUtilTest, ReadValueExReportsStoredSizeAndType) {
  struct Case {
    const char* value;
    std::uint32_t size;
    std::uint32_t type;
    const char* text;  // as a zero-terminated text
  };
  const Case cases[] = {
      {"Exact", 8, kRegSz, "abcdefg"},
      {"Binary", 3, kRegBinary, "\x01\x02\x03"},
      {"Number", 4, kRegDword, "*"},
      {"Multi", 7, kRegMultiSz, "AB"},  // a list read as text gives its first entry
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    char buffer[65] = {};
    std::uint32_t size = 64;
    std::uint32_t type = 0;
    ASSERT_EQ(util.ReadValueEx(kBase, c.value, buffer, size, type), 1);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(type, c.type);
    EXPECT_STREQ(buffer, c.text);
  }
  char small[4] = {};
  std::uint32_t size = 4;
  std::uint32_t type = 0;
  EXPECT_EQ(util.ReadValueEx(kBase, "Exact", small, size, type), 0);
}

TEST_F(RegUtilTest, KeyExistsOpensAndClosesTheKey) {
  EXPECT_EQ(util.KeyExists(kBase), 1);
  EXPECT_EQ(util.KeyExists("software\\morvtest\\regutil\\ALPHA"), 1);
  EXPECT_EQ(util.KeyExists("SOFTWARE\\MorvTest\\RegUtil\\Delta"), 0);
  EXPECT_EQ(util.KeyExists("SOFTWARE\\MorvTest\\Nowhere\\Alpha"), 0);
  if (RegistryHasFaultMarkers()) {
    EXPECT_EQ(util.KeyExists("SOFTWARE\\MorvTest\\Locked"), 0);
  }
}

TEST_F(RegUtilTest, SubKeyCountClosesTheHandleAndCountsDirectSubkeysOnly) {
  struct Case {
    const char* key;
    std::uint32_t count;
  };
  const Case cases[] = {{kBase, 3}, {"SOFTWARE\\MorvTest\\Leaf", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const IRegistry::Key key = Open(c.key);
    std::uint32_t count = 99;
    EXPECT_EQ(util.GetSubKeyCount(key, count), 1);
    EXPECT_EQ(count, c.count);
    ExpectClosed(key);
  }
}

TEST_F(RegUtilTest, SubKeyNamesComeInSortedOrderAndEndAtTheCount) {
  const char* const expected[] = {"Alpha", "beta", "Gamma"};
  for (std::uint32_t i = 0; i < 3; ++i) {
    const IRegistry::Key key = Open(kBase);
    char name[CRegUtil::kNameSize];
    std::memset(name, '#', sizeof name);
    ASSERT_EQ(util.GetSubKeyName(key, i, name), 1) << i;
    EXPECT_STREQ(name, expected[i]);
    ExpectClosed(key);
  }
  const IRegistry::Key key = Open(kBase);
  char name[CRegUtil::kNameSize] = "untouched";
  EXPECT_EQ(util.GetSubKeyName(key, 3, name), 0);
  EXPECT_STREQ(name, "untouched");
  ExpectClosed(key);
}

TEST_F(RegUtilTest, FailedCountLeavesTheCountAndStillCloses) {
  if (!RegistryHasFaultMarkers()) GTEST_SKIP() << "needs the ;@fail-info marker";
  const IRegistry::Key key = Open("SOFTWARE\\MorvTest\\Uncountable");
  std::uint32_t count = 77;
  EXPECT_EQ(util.GetSubKeyCount(key, count), 0);
  EXPECT_EQ(count, 77u);
  ExpectClosed(key);
}

}  // namespace

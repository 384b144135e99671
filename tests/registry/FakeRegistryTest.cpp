// The .reg reader of the registry double: what the fixtures rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "doubles/FakeRegistry.h"

namespace {

std::string ReadText(FakeRegistry& registry, const std::string& path, const std::string& name) {
  IRegistry::Key key = 0;
  if (registry.OpenKey(path, key) != IRegistry::kSuccess) return "<no key>";
  char buffer[257] = {};
  std::uint32_t size = 256, type = 0;
  const long result = registry.QueryValue(key, name, buffer, size, type);
  registry.CloseKey(key);
  return result == IRegistry::kSuccess ? std::string(buffer, size) : "<no value>";
}

TEST(FakeRegistryTest, ReadsEveryValueForm) {
  FakeRegistry registry;
  std::string error;
  ASSERT_TRUE(
      registry.LoadText("Windows Registry Editor Version 5.00\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\A\\B]\r\n"
                        "\"Text\"=\"x\\\\y \\\"q\\\"\"\r\n"
                        "@=\"def\"\r\n"
                        "\"Num\"=dword:01020304\r\n"
                        "\"Bin\"=hex:41,\\\r\n"
                        "  42 , 43\r\n"
                        "\"Exp\"=hex(2):25,00\r\n"
                        "\"Gone\"=\"x\"\r\n"
                        "\"Gone\"=-\r\n"
                        "[HKEY_CURRENT_USER\\A\\B]\r\n"
                        "\"Other\"=\"hive\"\r\n",
                        &error))
      << error;
  struct Case {
    const char* name;
    std::string data;
  };
  const Case cases[] = {
      {"Text", std::string("x\\y \"q\"\0", 8)},
      {"", std::string("def\0", 4)},
      {"Num", "\x04\x03\x02\x01"},
      {"Bin", "ABC"},
      {"Exp", std::string("%\0", 2)},
      {"Gone", "<no value>"},
      {"Other", "<no value>"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadText(registry, "a\\b", c.name), c.data) << c.name;
}

TEST(FakeRegistryTest, RejectsMalformedTextWithTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"[HKEY_LOCAL_MACHINE\\A]\n", "line 1: missing header"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\n", "line 2: unterminated key name"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=dword:123456789\n", "line 3: bad dword"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=hex:4g\n", "line 3: bad hex bytes"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=hex:123\n", "line 3: bad hex bytes"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"open\n", "line 3: bad text"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=hex:41,\\\n",
       "line 3: continuation at end of text"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", "line 2: bad key path"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\nv=\"x\"\n", "line 3: bad value name"},
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    std::string error;
    EXPECT_FALSE(registry.LoadText(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(FakeRegistryTest, KeyDeletionRemovesTheSubtree) {
  FakeRegistry registry;
  ASSERT_TRUE(
      registry.LoadText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\n[HKEY_LOCAL_MACHINE\\A\\D]\n"
                        "[-HKEY_LOCAL_MACHINE\\A\\B]\n"));
  IRegistry::Key key = 0;
  EXPECT_EQ(registry.OpenKey("A\\B\\C", key), IRegistry::kFileNotFound);
  ASSERT_EQ(registry.OpenKey("A", key), IRegistry::kSuccess);
  std::uint32_t count = 0;
  EXPECT_EQ(registry.QuerySubKeyCount(key, count), IRegistry::kSuccess);
  EXPECT_EQ(count, 1u);
  registry.CloseKey(key);
  registry.CloseKey(key);
  EXPECT_EQ(registry.badCloses, 1);
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(FakeRegistryTest, EnumerationNeedsRoomForTheTerminator) {
  FakeRegistry registry;
  ASSERT_TRUE(registry.LoadText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\Four]\n"));
  IRegistry::Key key = 0;
  ASSERT_EQ(registry.OpenKey("A", key), IRegistry::kSuccess);
  char name[8] = {};
  std::uint32_t size = 4;
  EXPECT_EQ(registry.EnumSubKey(key, 0, name, size), IRegistry::kMoreData);
  size = 5;
  EXPECT_EQ(registry.EnumSubKey(key, 0, name, size), IRegistry::kSuccess);
  EXPECT_STREQ(name, "Four");
  EXPECT_EQ(size, 4u);
  registry.CloseKey(key);
}

}  // namespace

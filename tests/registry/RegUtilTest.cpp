// The registry reader's contract, by the rows of
// fixtures/registry/regutil-cases.txt, against the registry double loaded
// with regutil.reg on the host and against Wine's registry with the same
// fixture imported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "doubles/TableRows.h"
#include "registry/RegUtil.h"
#ifdef _WIN32
#include "registry/win/WindowsRegistry.h"
#else
#include "doubles/FakeRegistry.h"
#endif

namespace {

TEST(RegUtilTest, Contract) {
#ifdef _WIN32
  std::string fixture = MORV_FIXTURES "/registry/regutil.reg";
  std::replace(fixture.begin(), fixture.end(), '/', '\\');
  ASSERT_EQ(std::system(("reg.exe import \"" + fixture + "\"").c_str()), 0);
  WindowsRegistry registry;
  const bool markers = false;  // reg.exe takes the fault markers as comments
#else
  FakeRegistry registry;
  const bool markers = true;
  ASSERT_TRUE(registry.LoadFile(MORV_FIXTURES "/registry/regutil.reg"));
#endif
  CRegUtil util(registry);
  RunTable("registry/regutil-cases.txt", 5, 1, [&](const TableRow& r) {
    if (r[0].back() == '*' && !markers) return TableRow{r[4]};  // not run here
    const std::string operation = r[0].substr(0, r[0].find('*'));
    std::string got;
    if (operation == "value") {
      char data[80] = {}, again[80] = {};
      std::uint32_t size = std::stoul(r[3]), type = 0;
      const int result = util.ReadValueEx(r[1], r[2], data, size, type);
      EXPECT_EQ(util.ReadValue(r[1], r[2], again, std::stoul(r[3]), 1), result);
      got = std::to_string(result) +
            (result ? " " + std::to_string(size) + " " + std::to_string(type) : "");
      for (std::uint32_t i = 0; result && i < size; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02x", static_cast<unsigned char>(data[i]));
        got += byte;
      }
    } else if (operation == "exists") {
      got = std::to_string(util.KeyExists(r[1]));
    } else {
      IRegistry::Key key = 0;
      EXPECT_EQ(registry.OpenKey(r[1], key), IRegistry::kSuccess);
      std::uint32_t count = 99;
      char name[CRegUtil::kNameSize] = "untouched";
      const int result = operation == "count" ? util.GetSubKeyCount(key, count)
                                              : util.GetSubKeyName(key, std::stoul(r[2]), name);
      got = std::to_string(result) + " " + (operation == "count" ? std::to_string(count) : name);
      EXPECT_NE(registry.QuerySubKeyCount(key, count), IRegistry::kSuccess) << "key left open";
    }
    return TableRow{got};
  });
}

}  // namespace

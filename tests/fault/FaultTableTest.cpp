// The rows of faults.txt: every platform operation failing in turn.
#include <gtest/gtest.h>

#include <fstream>
#include <pugixml.hpp>
#include <sstream>

#include "doubles/ModuleOnDoubles.h"

namespace {

namespace fs = std::filesystem;
const fs::path kHere = MORV_FAULTS;

struct System {
  const char* windows;
  const char* registry;
  bool nt;
};
constexpr System kSystems[] = {{"win7", "xp.reg", true},
                               {"nt40", "nt4.reg", true},
                               {"win95", "win9x.reg", false},
                               {"win98", "win9x.reg", false}};

void Check(const std::string& fault, bool previous, const System& system, int wanted) {
  SCOPED_TRACE(fault + " on " + system.windows + (previous ? ", comparing" : ", first run"));
  ModuleOnDoubles m(fs::temp_directory_path() / "morv-fault");
  const fs::path machines = kHere / ".." / "cases" / "machines";
  std::string error;
  for (const std::string& line :
       {std::string("windows ") + system.windows, std::string("registry ") + system.registry,
        std::string("wmi workstation.wmi"), std::string("processor p4.txt")})
    ASSERT_TRUE(m.Apply(line, machines, error)) << error;
  if (previous) {
    ASSERT_EQ(m.Run(), 0);
    m.dom.creations = m.dom.saves = 0;  // faults count from the run below
    m.files.calls.clear();
  }
  ASSERT_TRUE(m.Apply(fault, kHere, error)) << error;
  const fs::path document = m.dir / "AgentHardwareAsset.XML";
  const fs::path aside = m.dir / "AgentHardwareAsset.XML.old";
  const bool hadDocument = fs::is_regular_file(document);
  const std::string before = ReadFile(document);
  const bool keepsAside = fs::exists(aside) || fault.ends_with("DeleteFile");

  const int result = m.Run();
  EXPECT_EQ(result, wanted);
  pugi::xml_document written;
  if (result == 0) {
    EXPECT_TRUE(written.load_file(document.c_str()) && written.child("TS_Root"));
    EXPECT_NE(ReadFile(document), before);
  } else {
    EXPECT_EQ(fs::is_regular_file(document), hadDocument);
    EXPECT_EQ(ReadFile(document), before);
  }
  EXPECT_FALSE(fs::exists(m.dir / "AgentHardwareAsset.XML.tmp"));
  EXPECT_TRUE(keepsAside || !fs::exists(aside));
  EXPECT_TRUE(m.status == 0 || m.status == 1 || result == -999);
  EXPECT_EQ(m.registry.OpenHandles(), 0u);
  EXPECT_EQ(m.registry.badCloses, 0);
  EXPECT_EQ(m.wmi.live, 0);
  EXPECT_EQ(m.com.depth, 0);
  fs::remove_all(m.dir);
}

TEST(FaultTable, EachFaultGivesItsResultAndLeavesTheDocumentWhole) {
  std::ifstream rows(kHere / "faults.txt");
  for (std::string line; std::getline(rows, line);) {
    std::istringstream row(line);
    std::string when, fault;
    int nt = 0, nine = 0;
    if (line.empty() || line[0] == '#' || !(row >> when >> nt >> nine >> std::ws)) continue;
    std::getline(row, fault);
    for (const System& system : kSystems) {
      const int wanted = system.nt ? nt : nine;
      if (when != "compare") Check(fault, false, system, wanted);
      if (when != "first") Check(fault, true, system, wanted);
    }
  }
}

}  // namespace

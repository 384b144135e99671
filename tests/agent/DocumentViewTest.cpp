#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "agent/DocumentView.h"
#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"

namespace {

const std::string kDir = MORV_FIXTURES "/show/";

struct ShowCase {
  std::string document;
  int status = -1;
  std::string text;
};

// show/expected.txt: "== FILE STATUS", then the expected text.
std::vector<ShowCase> LoadCases() {
  std::ifstream in(kDir + "expected.txt");
  std::vector<ShowCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("== ", 0) == 0) {
      std::istringstream head(line.substr(3));
      head >> cases.emplace_back().document >> cases.back().status;
    } else if (!cases.empty()) {
      cases.back().text += line + "\n";
    }
  }
  return cases;
}

TEST(DocumentView, PrintsEachFixtureAsExpected) {
  const std::vector<ShowCase> cases = LoadCases();
  ASSERT_GE(cases.size(), 7u);
  HostFileSystem files;
  PugiDomFactory dom;
  for (const ShowCase& c : cases) {
    DocumentView view;
    const ShowOutcome outcome = ReadDocumentView(kDir + c.document, files, &dom, view);
    EXPECT_EQ(ShowExitStatus(outcome), c.status) << c.document;
    EXPECT_EQ(FormatDocumentView(outcome, view), c.text) << c.document;
  }
}

}  // namespace

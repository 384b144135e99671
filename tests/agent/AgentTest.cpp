// morv-agent's portable parts: its arguments as options.txt reads them, and
// what --show prints for each document of fixtures/show (expected.txt).
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <sstream>

#include "agent/AgentOptions.h"
#include "agent/DocumentView.h"
#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"

namespace {

std::string Outcome(const ParsedOptions& parsed) {
  if (!parsed.options) return parsed.error.empty() ? "usage" : "error: " + parsed.error;
  const AgentOptions& o = *parsed.options;
  return "detail " + std::to_string(o.detailMode) + ", device " +
         (o.deviceId ? '"' + *o.deviceId + '"' : "(computer name)") + ", document \"" +
         o.documentPath + "\", " + (o.createStaging ? "staging" : "no staging") + ", runs " +
         std::to_string(o.runs) + (o.show ? ", show" : "");
}

TEST(Agent, ArgumentsAsTheTableSays) {
  std::ifstream table(MORV_AGENT_TESTS "/options.txt");
  for (std::string line; std::getline(table, line);) {
    if (line.starts_with("#")) continue;
    std::istringstream words(line.substr(0, line.find(" | ")));
    std::vector<std::string> args;
    for (std::string word; words >> std::quoted(word, '"', '\0');) args.push_back(word);
    // Compared without trailing blanks, which an editor may drop from the table.
    const auto trimmed = [](std::string text) {
      return text.erase(text.find_last_not_of(' ') + 1);
    };
    EXPECT_EQ(trimmed(Outcome(ParseAgentOptions(args))), trimmed(line.substr(line.find(" | ") + 3)))
        << line;
  }
}

TEST(Agent, ShowPrintsEachFixtureAsExpected) {
  const std::string dir = MORV_AGENT_TESTS "/../fixtures/show/";
  std::ifstream expected(dir + "expected.txt");
  std::string document, text;
  int status = -1;
  HostFileSystem files;
  PugiDomFactory dom;
  const auto check = [&] {
    DocumentView view;
    const ShowOutcome outcome = ReadDocumentView(dir + document, files, &dom, view);
    EXPECT_EQ(ShowExitStatus(outcome), status) << document;
    EXPECT_EQ(FormatDocumentView(outcome, view), text) << document;
  };
  for (std::string line; std::getline(expected, line);) {
    if (!line.starts_with("== ")) {
      text += line + "\n";
      continue;
    }
    if (!document.empty()) check();
    std::istringstream(line.substr(3)) >> document >> status;
    text.clear();
  }
  check();
}

}  // namespace

// Every case of this folder on the module over the doubles: the case's
// transcript and document must equal the goldens beside it (expected.txt,
// document.xml; a case that leaves no document has none), and so must the
// staging file where it differs from the document (staging.xml). Run with
// MORV_REGENERATE=1 to write the goldens from the module's behaviour
// instead, then review the diff.
//
// case.txt holds directives, one a line, '#' starting a comment:
//   the machine and the faults of ModuleOnDoubles::Apply (FILE relative to the case)
//   detail N | device TEXT     for the runs that follow (\xNN escapes in TEXT)
//   run [no-device] [no-document] [no-status] [no-timestamp]   one call of the export
//   runs N                     N calls, summarised
//   quiet                      no security, wmi or debug lines
//   host-only WHY | wine-mask NAME [REGEX]   for the Wine runner (wine-cases.sh)
//
// expected.txt, the transcript:
//   run N: result R, status S, timestamp "T"    S and T are - when not asked for
//   runs N: result R xK..., status S, timestamp "T"    the last call's status and timestamp
//   reentered: result R, status S, timestamp "T"    a call made during a run
//   security: ...     each CoInitializeSecurity
//   wmi: ...          each call of the WMI service
//   debug: ...        each debugger line
//   files: ...        the files left, the host's directory shown as agent/
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "doubles/ModuleOnDoubles.h"

namespace {

namespace fs = std::filesystem;
const fs::path kCases = MORV_CASES;

std::string Transcript(const fs::path& caseDir, ModuleOnDoubles& m) {
  std::ostringstream out;
  std::ifstream in(caseDir / "case.txt");
  bool quiet = false;
  int runs = 0;
  const auto outputs = [&](bool status, bool stamp) {
    return ", status " + (status ? std::to_string(m.status) : "-") + ", timestamp " +
           (stamp ? '"' + std::string(m.stamp) + '"' : "-");
  };
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string verb, word, error;
    if (!(words >> verb) || verb[0] == '#' || verb == "host-only" || verb == "wine-mask") continue;
    if (verb == "detail") {
      words >> m.detail;
    } else if (verb == "device") {
      m.device = Unescaped(line.substr(line.find(verb) + verb.size() + 1));
    } else if (verb == "quiet") {
      quiet = true;
    } else if (verb == "run") {
      const auto without = [&](const char* flag) { return line.find(flag) != std::string::npos; };
      const bool status = !without("no-status"), stamp = !without("no-timestamp");
      const int result = m.Run(!without("no-device"), !without("no-document"), status, stamp);
      out << "run " << ++runs << ": result " << result << outputs(status, stamp) << "\n";
    } else if (verb == "runs") {
      int count = 0;
      words >> count;
      std::map<int, int> results;
      for (int i = 0; i < count; ++i) ++results[m.Run()];
      out << "runs " << count << ":";
      for (const auto& [result, times] : results) out << " result " << result << " x" << times;
      out << outputs(true, true) << "\n";
    } else if (!m.Apply(line, caseDir, error)) {
      ADD_FAILURE() << error;
    }
  }
  if (!m.reentered.empty()) out << "reentered: result " << m.reentered << "\n";
  for (const auto& [kind, lines] :
       {std::pair{"security", &m.com.security}, {"wmi", &m.wmi.calls}, {"debug", &m.debug.lines}}) {
    for (const std::string& line : quiet ? std::vector<std::string>{} : *lines)
      out << kind << ": " << line << "\n";
  }
  std::vector<std::string> files;
  const std::string host = m.hostDir.lexically_relative(m.dir).generic_string();
  for (const auto& entry : fs::recursive_directory_iterator(m.dir)) {
    if (!entry.is_regular_file()) continue;
    const std::string file = entry.path().lexically_relative(m.dir).generic_string();
    files.push_back(file.starts_with(host + "/") ? "agent" + file.substr(host.size()) : file);
  }
  std::sort(files.begin(), files.end());
  out << "files:";
  for (const std::string& file : files) out << " " << file;
  return out.str() + "\n";
}

class CaseTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CaseTest, MatchesItsGoldens) {
  const fs::path caseDir = kCases / GetParam();
  ModuleOnDoubles m(fs::temp_directory_path() / ("morv-case-" + GetParam()));
  const std::string transcript = Transcript(caseDir, m);
  const fs::path document = m.dir / "AgentHardwareAsset.XML";
  const std::string written = fs::is_regular_file(document) ? ReadFile(document) : "";
  std::string staged = ReadFile(m.hostDir / "Results" / "Backup" / "new_AgentHardwareAsset.XML");
  if (staged == written) staged.clear();
  if (std::getenv("MORV_REGENERATE")) {
    std::ofstream(caseDir / "expected.txt", std::ios::binary) << transcript;
    for (const auto& [name, text] : {std::pair{"document.xml", written}, {"staging.xml", staged}}) {
      fs::remove(caseDir / name);
      if (!text.empty()) std::ofstream(caseDir / name, std::ios::binary) << text;
    }
  }
  // An element a line, so that a failure shows the elements that differ.
  const auto lines = [](std::string text) {
    for (std::size_t at = 0; (at = text.find("><", at)) != std::string::npos; at += 2)
      text.insert(at + 1, "\n");
    return text;
  };
  EXPECT_EQ(transcript, ReadFile(caseDir / "expected.txt"));
  EXPECT_EQ(lines(written), lines(ReadFile(caseDir / "document.xml")));
  EXPECT_EQ(lines(staged), lines(ReadFile(caseDir / "staging.xml")));
  fs::remove_all(m.dir);
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases)) {
    if (fs::exists(entry.path() / "case.txt")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseTest, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

}  // namespace

// One contract for every document model behind DomAccess: the host build
// runs contract.dom over pugixml, the Windows build under Wine over MSXML
// 3.0, and both transcripts must equal contract.expected. Run with
// MORV_REGENERATE=1 (host) to rewrite it, then review the diff.
//
// contract.dom: "== title" starts a section with fresh objects; every other
// line is one operation, echoed to the transcript with " -> " and what it
// gave. Arguments are words or "quoted" texts with the escapes of
// Unescaped; {dir} stands for the test's folder, {ansi} for "\u00e9\u00fc" in
// the ANSI code page. Nodes and lists are kept in named slots; "document",
// "declaration" and "none" name the document node, the declaration and no
// node.
//   use NAME                  the DomAccess the next operations use
//   create PROGID | nofactory | load FILE | save FILE | decl VERSION ENCODING STANDALONE
//   root SLOT NAME | append SLOT PARENT NAME | getroot SLOT | first SLOT NODE
//   children LIST NODE | item SLOT LIST POSITION | items LIST N (each item's "n")
//   setattr NODE NAME VALUE | setexisting NODE NAME VALUE | attr NODE NAME
//   settext NODE TEXT|(null) | text NODE | count NODE | removeall NODE | removechild NODE CHILD
//   flags | last | progid | write FILE TEXT | file FILE (the bytes) | exists FILE
#include "document/DomContract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>

#include "document/DomAccess.h"
#include "doubles/FakePlatform.h"

namespace {

namespace fs = std::filesystem;

// Bytes outside printable ASCII as \xHH; a text read back names the ANSI
// text {ansi}.
std::string Shown(std::string text, bool read = true) {
  const std::string ansi = ContractAnsiText();
  for (std::size_t at; read && (at = text.find(ansi)) != std::string::npos;)
    text.replace(at, ansi.size(), "{ansi}");
  std::string out;
  for (const unsigned char c : text) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += c < 0x20 || c >= 0x7F ? hex : c == '\\' ? "\\\\" : std::string(1, static_cast<char>(c));
  }
  return '"' + out + '"';
}

// The line's arguments after the operation: words or "quoted" texts.
std::vector<std::string> Arguments(std::istringstream& in, const std::string& dir) {
  std::vector<std::string> words;
  for (std::string word; in >> std::quoted(word, '"', '\0');) {
    word = Unescaped(word);
    for (const auto& [token, value] :
         {std::pair<std::string, std::string>{"{dir}", dir}, {"{ansi}", ContractAnsiText()}}) {
      for (std::size_t at; (at = word.find(token)) != std::string::npos;)
        word.replace(at, token.size(), value);
    }
    words.push_back(word);
  }
  return words;
}

class Script {
 public:
  explicit Script(const fs::path& dir) : dir_(dir) {}

  std::string Do(const std::string& op, const std::vector<std::string>& a) {
    DomAccess& dom =
        *doms_.try_emplace(use_, std::make_unique<DomAccess>(&ContractDomFactory())).first->second;
    const auto at = [&](std::size_t i) { return i < a.size() ? a[i] : std::string(); };
    const auto node = [&](std::size_t i) -> DomNode {
      const std::string& name = at(i);
      return name == "document"      ? dom.Document()
             : name == "declaration" ? dom.Declaration()
                                     : nodes_[name];
    };
    const auto keep = [&](const DomNode& made) {
      nodes_[at(0)] = made;
      return made ? std::string("node") : "none";
    };
    const auto path = [&](std::size_t i) { return (dir_ / at(i)).string(); };
    const auto n = [](auto value) { return std::to_string(value); };
    if (op == "use") return use_ = at(0), "";
    if (op == "create") {
      const int result = dom.CreateDocument(at(0));
      return n(result) + " flags " + n(dom.Flags()) + " last " + n(dom.LastResult()) + " progid " +
             Shown(dom.ProgId());
    }
    if (op == "nofactory") return n(DomAccess(nullptr).CreateDocument(DomAccess::kProgId));
    if (op == "load") {
      const HResult result = dom.Load(path(0));
      return n(result) + " flags " + n(dom.Flags()) + (dom.Declaration() ? " declared" : "");
    }
    if (op == "save") {
      const HResult result = dom.Save(path(0));
      return n(result) + " last " + n(dom.LastResult());
    }
    if (op == "decl") {
      const HResult result = dom.SetDeclaration(at(0), at(1), at(2));
      return n(result) + " flags " + n(dom.Flags());
    }
    if (op == "root") {
      const std::string made = keep(dom.CreateRootElement(at(1)));
      return made + " last " + n(dom.LastResult());
    }
    if (op == "append") return keep(dom.AppendElement(node(1), at(2)));
    if (op == "getroot") return keep(dom.GetRootElement());
    if (op == "first") return keep(dom.GetFirstChildElement(node(1)));
    if (op == "children") return (lists_[at(0)] = dom.GetChildNodes(node(1))) ? "list" : "none";
    if (op == "item") return keep(dom.GetItemElement(lists_[at(1)], std::stoi(at(2))));
    if (op == "items") {
      std::string items;
      for (int i = 0; i < std::stoi(at(1)); ++i) {
        const DomNode item = dom.GetItemElement(lists_[at(0)], i);
        items += item ? dom.GetAttributeText(item, "n") : "-";
      }
      return items;
    }
    if (op == "setattr") return n(dom.SetAttribute(node(0), at(1), at(2)));
    if (op == "setexisting") return n(dom.SetExistingAttribute(node(0), at(1), at(2)));
    if (op == "attr") return Shown(dom.GetAttributeText(node(0), at(1)));
    if (op == "settext")
      return n(dom.SetText(node(0), at(1) == "(null)" ? nullptr : at(1).c_str()));
    if (op == "text") return Shown(dom.GetText(node(0)));
    if (op == "count") return n(dom.GetChildCount(node(0)));
    if (op == "removeall") return dom.RemoveAllChildren(node(0)), "";
    if (op == "removechild") return n(node(0)->RemoveChild(node(1)));
    if (op == "flags") return n(dom.Flags());
    if (op == "last") return n(dom.LastResult());
    if (op == "progid") return Shown(dom.ProgId());
    if (op == "write") return std::ofstream(path(0), std::ios::binary) << at(1), "";
    if (op == "file") return fs::exists(path(0)) ? Shown(ReadFile(path(0)), false) : "missing";
    if (op == "exists") return fs::exists(path(0)) ? "yes" : "no";
    ADD_FAILURE() << "unknown operation " << op;
    return "?";
  }

 private:
  fs::path dir_;
  std::string use_;
  std::map<std::string, std::unique_ptr<DomAccess>> doms_;
  std::map<std::string, DomNode> nodes_;
  std::map<std::string, DomNodeList> lists_;
};

TEST(DomContract, TranscriptMatchesTheExpectedOne) {
  const fs::path here = MORV_DOM_CONTRACT;
  const fs::path dir = fs::temp_directory_path() / "morv-dom-contract";
  std::ifstream script(here / "contract.dom");
  std::string transcript;
  std::unique_ptr<Script> section;
  for (std::string line; std::getline(script, line);) {
    transcript += line;
    std::istringstream in(line);
    std::string op;
    if (line.starts_with("== ")) {
      section.reset();  // objects first, then their files
      fs::remove_all(dir);
      fs::create_directories(dir);
      section = std::make_unique<Script>(dir);
    } else if (in >> op && op[0] != '#') {
      const std::string result = section->Do(op, Arguments(in, (dir / "").string()));
      if (!result.empty()) transcript += " -> " + result;
    }
    transcript += "\n";
  }
  section.reset();
  fs::remove_all(dir);
  if (std::getenv("MORV_REGENERATE")) std::ofstream(here / "contract.expected") << transcript;
  EXPECT_EQ(transcript, ReadFile(here / "contract.expected"));
}

}  // namespace

// One contract for every document model behind DomAccess: the host build
// runs it over pugixml, the Windows build under Wine over MSXML 3.0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include "document/DomAccess.h"
#include "document/DomContract.h"

namespace {

namespace fs = std::filesystem;

class DomAccessContract : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("morv-dom-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return PathOf(name);
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir_;
  IDomFactory& factory_ = ContractDomFactory();
};

TEST_F(DomAccessContract, CreateDocumentByProgId) {
  struct Case {
    const char* progId;
    int result;
    std::uint32_t flags;
    HResult last;
  };
  const Case cases[] = {
      {"Msxml2.DOMDocument.3.0", 0, DomAccess::kCreated, 0},
      {"No.Such.Document.1", 1, 0, 1},
      {"", 1, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.progId);
    DomAccess dom(&factory_);
    EXPECT_EQ(dom.CreateDocument(c.progId), c.result);
    EXPECT_EQ(dom.Flags(), c.flags);
    EXPECT_EQ(dom.LastResult(), c.last);
    EXPECT_EQ(dom.ProgId(), c.result == 0 ? c.progId : "");
  }
  DomAccess none(nullptr);
  EXPECT_EQ(none.CreateDocument(DomAccess::kProgId), 1);
}

// Without a document every operation that needs one does nothing.
TEST_F(DomAccessContract, OperationsWithoutDocumentAreRefused) {
  DomAccess source(&factory_);
  ASSERT_EQ(source.CreateDocument(DomAccess::kProgId), 0);
  const DomNode foreign = source.CreateRootElement("r");
  ASSERT_TRUE(foreign);

  DomAccess dom(&factory_);
  EXPECT_EQ(dom.Save(PathOf("x.xml")), 1);
  EXPECT_EQ(dom.LastResult(), 1);
  EXPECT_FALSE(fs::exists(dir_ / "x.xml"));
  EXPECT_EQ(dom.SetDeclaration("1.0", "UTF-8", "yes"), 1);
  EXPECT_FALSE(dom.CreateRootElement("r"));
  EXPECT_FALSE(dom.AppendElement(foreign, "c"));
  EXPECT_EQ(dom.SetAttribute(foreign, "a", "v"), 1);
  EXPECT_FALSE(dom.GetRootElement());
  EXPECT_FALSE(dom.GetChildNodes(foreign));
  EXPECT_EQ(dom.GetAttributeText(foreign, "a"), "");
  EXPECT_EQ(dom.SetExistingAttribute(foreign, "a", "v"), 1);
  EXPECT_EQ(source.GetAttributeText(foreign, "a"), "");
  EXPECT_EQ(dom.Flags(), 0u);
}

TEST_F(DomAccessContract, AbsentNodesAreRefused) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  const DomNode root = dom.CreateRootElement("r");
  EXPECT_FALSE(dom.CreateRootElement(""));
  EXPECT_FALSE(dom.AppendElement(nullptr, "c"));
  EXPECT_FALSE(dom.AppendElement(root, ""));
  EXPECT_EQ(dom.SetAttribute(nullptr, "a", "v"), 1);
  EXPECT_EQ(dom.SetAttribute(root, "", "v"), 1);
  EXPECT_EQ(dom.SetText(nullptr, "t"), 1);
  EXPECT_FALSE(dom.GetFirstChildElement(nullptr));
  EXPECT_FALSE(dom.GetChildNodes(nullptr));
  EXPECT_EQ(dom.GetChildCount(nullptr), 0);
  EXPECT_FALSE(dom.GetItemElement(nullptr, 0));
  EXPECT_EQ(dom.GetText(nullptr), "");
  EXPECT_EQ(dom.GetAttributeText(nullptr, "a"), "");
  EXPECT_EQ(dom.SetExistingAttribute(root, "", "v"), 1);
  dom.RemoveAllChildren(nullptr);
  EXPECT_EQ(dom.GetChildCount(dom.Document()), 1);
}

TEST_F(DomAccessContract, DeclarationGoesFirst) {
  struct Case {
    const char* encoding;
    const char* standalone;
    const char* data;
  };
  const Case cases[] = {
      {"UTF-8", "yes", "version='1.0' encoding='UTF-8' standalone='yes'"},
      {"", "yes", "version='1.0' standalone='yes'"},
      {"UTF-8", "", "version='1.0' encoding='UTF-8'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    DomAccess dom(&factory_);
    ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
    ASSERT_TRUE(dom.CreateRootElement("r"));
    EXPECT_EQ(dom.SetDeclaration("1.0", c.encoding, c.standalone), 0);
    EXPECT_EQ(dom.Flags(), DomAccess::kCreated | DomAccess::kHasContent);
    ASSERT_TRUE(dom.Declaration());
    EXPECT_EQ(dom.GetText(dom.Declaration()), c.data);
    const DomNodeList children = dom.GetChildNodes(dom.Document());
    EXPECT_EQ(dom.GetChildCount(dom.Document()), 2);
    EXPECT_FALSE(dom.GetItemElement(children, 0));  // the declaration
    EXPECT_TRUE(dom.GetItemElement(children, 1));
    EXPECT_EQ(dom.Save(PathOf("d.xml")), 0);
    EXPECT_EQ(Read("d.xml").rfind(std::string("<?xml ") + c.data + "?>", 0), 0u) << Read("d.xml");
  }
}

TEST_F(DomAccessContract, DeclarationOnEmptyDocumentIsAppended) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  EXPECT_EQ(dom.SetDeclaration("1.0", "UTF-8", "yes"), 0);
  EXPECT_EQ(dom.GetChildCount(dom.Document()), 1);
  ASSERT_TRUE(dom.CreateRootElement("r"));
  EXPECT_FALSE(dom.GetItemElement(dom.GetChildNodes(dom.Document()), 0));
  EXPECT_TRUE(dom.GetRootElement());
}

TEST_F(DomAccessContract, SecondRootIsRefusedWith183) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  ASSERT_TRUE(dom.CreateRootElement("first"));
  EXPECT_FALSE(dom.CreateRootElement("second"));
  EXPECT_EQ(dom.LastResult(), DomAccess::kRootExists);
  EXPECT_EQ(dom.GetChildCount(dom.Document()), 1);
}

TEST_F(DomAccessContract, AttributesCreateReplaceAndReadBack) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  const DomNode root = dom.CreateRootElement("r");
  EXPECT_EQ(dom.SetAttribute(root, "a", "one"), 0);
  EXPECT_EQ(dom.SetAttribute(root, "a", "two"), 0);
  EXPECT_EQ(dom.GetAttributeText(root, "a"), "two");
  EXPECT_EQ(dom.GetAttributeText(root, "missing"), "");

  EXPECT_EQ(dom.SetExistingAttribute(root, "a", "three"), 0);
  EXPECT_EQ(dom.GetAttributeText(root, "a"), "three");
  EXPECT_EQ(dom.SetExistingAttribute(root, "missing", "x"), 1);
  EXPECT_EQ(dom.Save(PathOf("a.xml")), 0);
  EXPECT_EQ(Read("a.xml").find("missing"), std::string::npos);
}

// Whether a saved file holds a character XML 1.0 cannot carry, as it is or
// as a character reference.
bool HoldsForbiddenControl(const std::string& file) {
  for (std::size_t i = 0; i < file.size(); ++i) {
    unsigned long code = static_cast<unsigned char>(file[i]);
    if (file.compare(i, 2, "&#") == 0) {
      const bool hex = file[i + 2] == 'x';
      code = std::strtoul(file.c_str() + i + 2 + hex, nullptr, hex ? 16 : 10);
    }
    if (code < 0x20 && code != '\t' && code != '\n' && code != '\r') return true;
  }
  return false;
}

// A value as the module writes it into a text and an attribute, and as it
// reads it back from the saved file.
TEST_F(DomAccessContract, ValuesSurviveSaveAndLoad) {
  struct Case {
    const char* name;
    std::string written;
    std::string read;
  };
  const std::string ansi = ContractAnsiText();
  const Case cases[] = {
      {"empty", "", ""},
      {"plain", "plain", "plain"},
      {"markup", "a & b < c > d &amp;", "a & b < c > d &amp;"},
      {"quotes", "quote \" and ' apostrophe", "quote \" and ' apostrophe"},
      {"blanks at the edges", "  both ends ", "  both ends "},
      {"only blanks", "   ", "   "},
      {"line feeds", "\na\nb\n", "\na\nb\n"},
      {"carriage returns", "\ra\rb\r\n", "\ra\rb\r\n"},
      {"tabs", "\ta\t", "\ta\t"},
      {"only line ends and tabs", "\r\n\t", "\r\n\t"},
      {"non-ASCII", " " + ansi + " ", " " + ansi + " "},
      {"control characters", "\001a\010b\013\014c\016\037", "abc"},
      {"only control characters", "\002\036", ""},
      {"control characters between blanks", " \t\007\n\033 ", " \t\n "},
  };
  {
    DomAccess dom(&factory_);
    ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
    dom.SetDeclaration("1.0", "UTF-8", "yes");
    const DomNode root = dom.CreateRootElement("r");
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const DomNode item = dom.AppendElement(root, "i");
      ASSERT_TRUE(item);
      EXPECT_EQ(dom.SetAttribute(item, "v", c.written), 0);
      EXPECT_EQ(dom.SetText(item, c.written.c_str()), 0);
      EXPECT_EQ(dom.GetText(item), c.read);
    }
    const DomNode nullText = dom.AppendElement(root, "n");
    EXPECT_EQ(dom.SetText(nullText, nullptr), 0);
    EXPECT_EQ(dom.Save(PathOf("t.xml")), 0);
  }
  EXPECT_FALSE(HoldsForbiddenControl(Read("t.xml"))) << Read("t.xml");
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.Load(PathOf("t.xml")), 0);
  const DomNode root = dom.GetRootElement();
  const DomNodeList items = dom.GetChildNodes(root);
  ASSERT_EQ(dom.GetChildCount(root), static_cast<std::int32_t>(std::size(cases)) + 1);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    const DomNode item = dom.GetItemElement(items, static_cast<std::int32_t>(i));
    EXPECT_EQ(dom.GetText(item), c.read);
    EXPECT_EQ(dom.GetAttributeText(item, "v"), c.read);
    EXPECT_EQ(dom.SetExistingAttribute(item, "v", c.written), 0);
    EXPECT_EQ(dom.GetAttributeText(item, "v"), c.read);
  }
  EXPECT_EQ(dom.GetText(dom.GetItemElement(items, std::size(cases))), "");
}

// Files as a hand, another writer or an earlier version may have left them:
// the text and the attribute "a" of the root's first child element.
TEST_F(DomAccessContract, ValuesReadFromFilesAsFound) {
  // ASCII text as UTF-16, little-endian with its byte-order mark or
  // big-endian without one.
  const auto utf16 = [](const std::string& ascii, bool bigEndian) {
    std::string bytes = bigEndian ? "" : "\xff\xfe";
    for (const char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
  };
  struct Case {
    const char* name;
    std::string file;
    const char* text;
    const char* a;
  };
  const Case cases[] = {
      {"blanks at the edges", "<r><i a=' x '> x </i></r>", " x ", " x "},
      {"only blanks", "<r><i a='  '>  </i></r>", "  ", "  "},
      {"only a line feed", "<r><i a='&#10;'>\n</i></r>", "\n", "\n"},
      {"indented", "<?xml version='1.0'?>\n<r>\n  <i a='v'>\n    x\n  </i>\n  <j/>\n</r>\n",
       "\n    x\n  ", "v"},
      {"indented with CR LF and tabs", "<r>\r\n\t<i a='v'>x</i>\r\n\t<!-- c -->\r\n</r>", "x", "v"},
      {"line ends and tabs as they are", "<r><i a='a\tb\r\nc\rd'>a\r\nb\rc\td</i></r>",
       "a\nb\nc\td", "a b c d"},
      {"line ends and tabs as references", "<r><i a='&#9;&#10;&#13;'>&#13;&#10;&#x9;&#32;</i></r>",
       "\r\n\t ", "\t\n\r"},
      {"control characters as they are", "<r><i a='a\001b'>\037c\013d</i></r>", "cd", "ab"},
      {"control characters as references",
       "<r><i a='&#1;a&#x1F;'>&#0011;b&#x0c;&#x000E;&#31;</i></r>", "b", "a"},
      {"references stay text in CDATA", "<r><i a='v'><![CDATA[&#1;]]></i></r>", "&#1;", "v"},
      {"blanks beside CDATA are layout", "<r><i a='v'> <![CDATA[ x ]]>\n</i></r>", " x ", "v"},
      {"UTF-16 with a byte-order mark", utf16("<r>\n <i a='v&#1;'> x\002 </i>\n</r>", false), " x ",
       "v"},
      {"UTF-16 big-endian",
       utf16("<?xml version='1.0' encoding='UTF-16'?><r><i a='v'>&#x2;x</i></r>", true), "x", "v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DomAccess dom(&factory_);
    ASSERT_EQ(dom.Load(Write("f.xml", c.file)), 0);
    const DomNode item = dom.GetFirstChildElement(dom.GetRootElement());
    ASSERT_TRUE(item);
    EXPECT_EQ(dom.GetText(item), c.text);
    EXPECT_EQ(dom.GetAttributeText(item, "a"), c.a);
  }
}

// Small documents and what the lookups find in them.
TEST_F(DomAccessContract, LookupsInLoadedDocuments) {
  struct Case {
    const char* name;
    const char* text;
    const char* rootName;      // "" when no root is found
    bool declaration;          // a declaration was found
    bool firstChildIsElement;  // of the root
  };
  const Case cases[] = {
      {"declared", "<?xml version='1.0'?><r a='1'><c a='2'/></r>", "1", true, true},
      {"bare", "<r a='1'><c a='2'/></r>", "1", false, true},
      {"text first", "<r a='1'>text<c a='2'/></r>", "1", false, false},
      {"comment before root", "<?xml version='1.0'?><!--x--><r a='1'/>", "1", true, false},
      {"trailing instruction", "<r a='1'><c a='2'/></r><?pi data?>", "1", true, true},
      {"hand-indented", "<?xml version='1.0'?>\n<r a='1'>\n  <c a='2'/>\n  <d/>\n</r>\n", "1", true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DomAccess dom(&factory_);
    ASSERT_EQ(dom.Load(Write("l.xml", c.text)), 0);
    EXPECT_EQ(dom.Flags(), DomAccess::kCreated | DomAccess::kHasContent);
    EXPECT_EQ(dom.Declaration() != nullptr, c.declaration);
    const DomNode root = dom.GetRootElement();
    EXPECT_EQ(dom.GetAttributeText(root, "a"), c.rootName);
    const DomNode first = dom.GetFirstChildElement(root);
    EXPECT_EQ(first != nullptr, c.firstChildIsElement);
    if (first) {
      EXPECT_EQ(dom.GetAttributeText(first, "a"), "2");
    }
  }
}

TEST_F(DomAccessContract, ItemsByPosition) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.Load(Write("i.xml", "<r><a n='0'/>text<b n='2'/></r>")), 0);
  const DomNode root = dom.GetRootElement();
  const DomNodeList list = dom.GetChildNodes(root);
  ASSERT_TRUE(list);
  ASSERT_EQ(dom.GetChildCount(root), 3);
  struct Case {
    int position;
    const char* n;  // nullptr: no element
  };
  const Case cases[] = {{0, "0"}, {1, nullptr}, {2, "2"}, {3, nullptr}, {-1, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    const DomNode item = dom.GetItemElement(list, c.position);
    ASSERT_EQ(item != nullptr, c.n != nullptr);
    if (item) {
      EXPECT_EQ(dom.GetAttributeText(item, "n"), c.n);
    }
  }
}

// A list read before an edit of the tree answers after it as the tree now
// stands: items at positions 0 to 4, by their "n" ('-': none there, or not
// an element).
TEST_F(DomAccessContract, ChildListsFollowEdits) {
  using Edit = std::function<void(DomAccess&, const DomNode& root)>;
  struct Case {
    const char* name;
    bool ofDocument;  // the document's list, else the root's
    Edit edit;
    const char* items;
  };
  const auto named = [](DomAccess& dom, const DomNode& parent, const char* n) {
    dom.SetAttribute(dom.AppendElement(parent, "x"), "n", n);
  };
  const Case cases[] = {
      {"as loaded", false, [](DomAccess&, const DomNode&) {}, "0-2--"},
      {"appended", false, [&](DomAccess& dom, const DomNode& root) { named(dom, root, "3"); },
       "0-23-"},
      {"first removed", false,
       [](DomAccess& dom, const DomNode& root) {
         root->RemoveChild(dom.GetFirstChildElement(root));
       },
       "-2---"},
      {"text put in place of the children", false,
       [&](DomAccess& dom, const DomNode& root) {
         dom.SetText(root, "t");
         named(dom, root, "9");
       },
       "-9---"},
      {"all removed", false,
       [&](DomAccess& dom, const DomNode& root) {
         dom.RemoveAllChildren(root);
         named(dom, root, "5");
       },
       "5----"},
      {"declaration inserted first", true,
       [](DomAccess& dom, const DomNode&) { dom.SetDeclaration("1.0", "", ""); }, "-r---"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DomAccess dom(&factory_);
    ASSERT_EQ(dom.Load(Write("e.xml", "<r n='r'><a n='0'/>text<b n='2'/></r>")), 0);
    const DomNode root = dom.GetRootElement();
    const DomNodeList list = dom.GetChildNodes(c.ofDocument ? dom.Document() : root);
    const auto items = [&] {
      std::string text;
      for (std::int32_t i = 0; i < 5; ++i) {
        const DomNode item = dom.GetItemElement(list, i);
        text += item ? dom.GetAttributeText(item, "n") : "-";
      }
      return text;
    };
    items();
    c.edit(dom, root);
    EXPECT_EQ(items(), c.items);
  }
}

TEST_F(DomAccessContract, FailedLoadsKeepAnEmptyCreatedDocument) {
  struct Case {
    const char* name;
    std::function<std::string()> path;
  };
  const Case cases[] = {
      {"missing", [&] { return PathOf("none.xml"); }},
      {"malformed", [&] { return Write("bad.xml", "<r><c></r>"); }},
      {"empty", [&] { return Write("empty.xml", ""); }},
      {"directory", [&] { return dir_.string(); }},
      // A document type is refused whatever it declares, and nothing it
      // names is read.
      {"internal document type",
       [&] { return Write("dtd.xml", "<!DOCTYPE r [<!ENTITY e 'x'>]><r>&e;</r>"); }},
      {"external entity",
       [&] {
         Write("secret.xml", "<c a='2'/>");
         return Write("ext.xml", "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY e SYSTEM '" +
                                     PathOf("secret.xml") + "'>]><r>&e;</r>");
       }},
      {"external document type",
       [&] { return Write("sys.xml", "<!DOCTYPE r SYSTEM '" + PathOf("r.dtd") + "'><r/>"); }},
      {"nested entities",
       [&] {
         std::string text = "<!DOCTYPE r [<!ENTITY e0 'xxxxxxxxxx'>";
         for (int i = 1; i < 10; ++i) {
           const std::string inner = "&e" + std::to_string(i - 1) + ";";
           std::string ten;
           for (int k = 0; k < 10; ++k) ten += inner;
           text += "<!ENTITY e" + std::to_string(i) + " '" + ten + "'>";
         }
         return Write("bomb.xml", text + "]><r>&e9;</r>");
       }},
      {"zero character", [&] { return Write("zero.xml", std::string("<r>\0</r>", 8)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DomAccess dom(&factory_);
    EXPECT_EQ(dom.Load(c.path()), 1);
    EXPECT_EQ(dom.Flags(), DomAccess::kCreated);
    EXPECT_EQ(dom.ProgId(), DomAccess::kProgId);
    EXPECT_FALSE(dom.GetRootElement());
  }
}

TEST_F(DomAccessContract, LoadReplacesEarlierContent) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.Load(Write("1.xml", "<one a='1'/>")), 0);
  ASSERT_EQ(dom.Load(Write("2.xml", "<two a='2'/>")), 0);
  EXPECT_EQ(dom.GetChildCount(dom.Document()), 1);
  EXPECT_EQ(dom.GetAttributeText(dom.GetRootElement(), "a"), "2");
}

TEST_F(DomAccessContract, RemoveAllChildrenEmptiesTheDocument) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  dom.SetDeclaration("1.0", "UTF-8", "yes");
  const DomNode root = dom.CreateRootElement("r");
  const DomNode child = dom.AppendElement(root, "c");
  dom.SetText(child, "kept");
  dom.RemoveAllChildren(dom.Document());
  EXPECT_EQ(dom.Flags(), DomAccess::kCreated);
  EXPECT_EQ(dom.GetChildCount(dom.Document()), 0);
  EXPECT_FALSE(dom.Declaration());
  EXPECT_FALSE(dom.GetRootElement());
  // References the caller holds stay usable.
  EXPECT_EQ(dom.GetText(child), "kept");
  // A new root may follow.
  EXPECT_TRUE(dom.CreateRootElement("again"));
}

TEST_F(DomAccessContract, RemoveAllChildrenOfAnElement) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  const DomNode root = dom.CreateRootElement("r");
  for (const char* name : {"a", "b", "c"}) dom.AppendElement(root, name);
  dom.RemoveAllChildren(root);
  EXPECT_EQ(dom.GetChildCount(root), 0);
  EXPECT_EQ(dom.Flags(), DomAccess::kCreated | DomAccess::kHasContent);
}

TEST_F(DomAccessContract, SaveIntoMissingDirectoryFails) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  dom.CreateRootElement("r");
  EXPECT_NE(dom.Save((dir_ / "missing" / "x.xml").string()), 0);
  EXPECT_NE(dom.LastResult(), 0);
}

TEST_F(DomAccessContract, CreatingAgainDropsTheOldDocument) {
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  dom.CreateRootElement("r");
  ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
  EXPECT_EQ(dom.Flags(), DomAccess::kCreated);
  EXPECT_FALSE(dom.GetRootElement());
  EXPECT_TRUE(dom.CreateRootElement("fresh"));
}

}  // namespace

// One contract for every document model behind DomAccess: the host build
// runs it over pugixml, the Windows build under Wine over MSXML 3.0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

TEST_F(DomAccessContract, TextsAndEscapesSurviveSaveAndLoad) {
  const std::string texts[] = {"", "plain", "a & b < c > d", "quote \" and ' apostrophe"};
  {
    DomAccess dom(&factory_);
    ASSERT_EQ(dom.CreateDocument(DomAccess::kProgId), 0);
    dom.SetDeclaration("1.0", "UTF-8", "yes");
    const DomNode root = dom.CreateRootElement("r");
    for (const std::string& text : texts) {
      const DomNode item = dom.AppendElement(root, "i");
      ASSERT_TRUE(item);
      EXPECT_EQ(dom.SetAttribute(item, "v", text), 0);
      EXPECT_EQ(dom.SetText(item, text.c_str()), 0);
    }
    const DomNode nullText = dom.AppendElement(root, "n");
    EXPECT_EQ(dom.SetText(nullText, nullptr), 0);
    EXPECT_EQ(dom.Save(PathOf("t.xml")), 0);
  }
  DomAccess dom(&factory_);
  ASSERT_EQ(dom.Load(PathOf("t.xml")), 0);
  const DomNode root = dom.GetRootElement();
  const DomNodeList items = dom.GetChildNodes(root);
  ASSERT_EQ(dom.GetChildCount(root), 5);
  for (int i = 0; i < 4; ++i) {
    const DomNode item = dom.GetItemElement(items, i);
    EXPECT_EQ(dom.GetText(item), texts[i]);
    EXPECT_EQ(dom.GetAttributeText(item, "v"), texts[i]);
  }
  EXPECT_EQ(dom.GetText(dom.GetItemElement(items, 4)), "");
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

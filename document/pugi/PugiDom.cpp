#include "document/pugi/PugiDom.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "document/pugi/HostPath.h"

// The document lives as one element of a private pugixml tree; a second
// element of that tree holds nodes that are created but not yet attached,
// and nodes that were removed. pugixml frees a removed node at once, while
// the module may still hold a reference to it; parking it keeps every
// reference valid until the document itself goes. Every change of the
// tree's shape is counted, so that child lists know when their index of
// the children is stale.

namespace {

constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);

// Blank text that is an element's only content is a value and is kept, as
// MSXML keeps it with preserveWhiteSpace; blank text beside other nodes is
// layout.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single |
                                   pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

struct Store {
  pugi::xml_document tree;
  pugi::xml_node document = tree.append_child("document");
  pugi::xml_node parked = tree.append_child("parked");
  std::uint64_t shapeChanges = 0;
};
using StoreRef = std::shared_ptr<Store>;

int TypeOf(const pugi::xml_node& node) {
  switch (node.type()) {
    case pugi::node_element:
      return dom::kElement;
    case pugi::node_pcdata:
      return dom::kText;
    case pugi::node_cdata:
      return 4;
    case pugi::node_pi:
      return dom::kProcessingInstruction;
    case pugi::node_comment:
      return 8;
    case pugi::node_doctype:
      return 10;
    default:
      return 0;
  }
}

void AppendText(const pugi::xml_node& node, std::string& text) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      text += child.value();
    } else if (child.type() == pugi::node_element) {
      AppendText(child, text);
    }
  }
}

void Park(Store& store, pugi::xml_node node) {
  ++store.shapeChanges;
  store.parked.append_move(node);
}

void ParkChildren(Store& store, pugi::xml_node parent) {
  while (pugi::xml_node child = parent.last_child()) Park(store, child);
}

class PugiNode : public IDomNode {
 public:
  PugiNode(StoreRef store, pugi::xml_node node) : store_(std::move(store)), node_(node) {}

  pugi::xml_node Raw() const { return node_; }
  const Store* Owner() const { return store_.get(); }

  HResult GetNodeType(int& type) override {
    type = TypeOf(node_);
    return hr::kOk;
  }
  HResult GetFirstChild(DomNode& child) override { return Wrap(node_.first_child(), child); }
  HResult GetLastChild(DomNode& child) override { return Wrap(node_.last_child(), child); }
  HResult GetChildNodes(DomNodeList& list) override;

  HResult AppendChild(const DomNode& child) override {
    pugi::xml_node raw;
    if (const HResult h = Adopt(child, raw); h != hr::kOk) return h;
    ++store_->shapeChanges;
    return node_.append_move(raw) ? hr::kOk : hr::kFail;
  }
  HResult InsertBefore(const DomNode& child, const DomNode& reference) override {
    if (!reference) return AppendChild(child);
    pugi::xml_node raw;
    if (const HResult h = Adopt(child, raw); h != hr::kOk) return h;
    const auto* before = dynamic_cast<const PugiNode*>(reference.get());
    if (!before || before->Raw().parent() != node_) return kInvalidArg;
    ++store_->shapeChanges;
    return node_.insert_move_before(raw, before->Raw()) ? hr::kOk : hr::kFail;
  }
  HResult RemoveChild(const DomNode& child) override {
    const auto* own = dynamic_cast<const PugiNode*>(child.get());
    if (!own || own->Raw().parent() != node_) return kInvalidArg;
    Park(*store_, own->Raw());
    return hr::kOk;
  }

  HResult GetText(std::string& text) override {
    text.clear();
    switch (node_.type()) {
      case pugi::node_element:
        AppendText(node_, text);
        break;
      default:
        text = node_.value();
        break;
    }
    return hr::kOk;
  }
  HResult PutText(const char* text) override {
    if (node_.type() != pugi::node_element) {
      return node_.set_value(text ? text : "") ? hr::kOk : hr::kFail;
    }
    ParkChildren(*store_, node_);
    ++store_->shapeChanges;
    if (text && *text && !node_.append_child(pugi::node_pcdata).set_value(text)) return hr::kFail;
    return hr::kOk;
  }

  bool IsElement() override { return node_.type() == pugi::node_element; }

  HResult SetAttribute(const std::string& name, const std::string& value) override {
    if (!IsElement()) return kNoInterface;
    pugi::xml_attribute attribute = node_.attribute(name.c_str());
    if (!attribute) attribute = node_.append_attribute(name.c_str());
    return attribute && attribute.set_value(value.c_str()) ? hr::kOk : hr::kFail;
  }
  HResult GetAttributeNode(const std::string& name, DomNode& attribute) override;

 protected:
  HResult Wrap(pugi::xml_node raw, DomNode& out) const {
    out = raw ? std::make_shared<PugiNode>(store_, raw) : nullptr;
    return raw ? hr::kOk : hr::kFalse;
  }
  // The raw node of a child that may be moved here: one of this store's,
  // and not this node or one of its ancestors.
  HResult Adopt(const DomNode& child, pugi::xml_node& raw) const {
    const auto* own = dynamic_cast<const PugiNode*>(child.get());
    if (!own || own->Owner() != store_.get()) return kInvalidArg;
    raw = own->Raw();
    for (pugi::xml_node up = node_; up; up = up.parent()) {
      if (up == raw) return kInvalidArg;
    }
    return hr::kOk;
  }

  StoreRef store_;
  pugi::xml_node node_;
};

class PugiAttribute final : public IDomNode {
 public:
  PugiAttribute(StoreRef store, pugi::xml_attribute attribute)
      : store_(std::move(store)), attribute_(attribute) {}

  HResult GetNodeType(int& type) override {
    type = dom::kAttribute;
    return hr::kOk;
  }
  HResult GetFirstChild(DomNode& child) override { return None(child); }
  HResult GetLastChild(DomNode& child) override { return None(child); }
  HResult GetChildNodes(DomNodeList& list) override {
    list.reset();
    return hr::kFail;
  }
  HResult AppendChild(const DomNode&) override { return hr::kFail; }
  HResult InsertBefore(const DomNode&, const DomNode&) override { return hr::kFail; }
  HResult RemoveChild(const DomNode&) override { return hr::kFail; }
  HResult GetText(std::string& text) override {
    text = attribute_.value();
    return hr::kOk;
  }
  HResult PutText(const char* text) override {
    return attribute_.set_value(text ? text : "") ? hr::kOk : hr::kFail;
  }
  bool IsElement() override { return false; }
  HResult SetAttribute(const std::string&, const std::string&) override { return kNoInterface; }
  HResult GetAttributeNode(const std::string&, DomNode& attribute) override {
    attribute.reset();
    return kNoInterface;
  }

 private:
  static HResult None(DomNode& child) {
    child.reset();
    return hr::kFalse;
  }
  StoreRef store_;
  pugi::xml_attribute attribute_;
};

HResult PugiNode::GetAttributeNode(const std::string& name, DomNode& attribute) {
  attribute.reset();
  if (!IsElement()) return kNoInterface;
  const pugi::xml_attribute found = node_.attribute(name.c_str());
  if (!found) return hr::kFalse;
  attribute = std::make_shared<PugiAttribute>(store_, found);
  return hr::kOk;
}

// A live view of a node's children, as the DOM's child lists are. A walk
// by position would step along the siblings from the first one for every
// item; instead the children are indexed once, and again after any change
// of the tree's shape.
class PugiNodeList final : public IDomNodeList {
 public:
  PugiNodeList(StoreRef store, pugi::xml_node parent) : store_(std::move(store)), parent_(parent) {}

  HResult GetLength(std::int32_t& length) override {
    length = 0;
    if (const HResult h = Index(); h != hr::kOk) return h;
    length = static_cast<std::int32_t>(children_.size());
    return hr::kOk;
  }
  HResult GetItem(std::int32_t position, DomNode& item) override {
    item.reset();
    if (const HResult h = Index(); h != hr::kOk) return h;
    if (position < 0 || static_cast<std::size_t>(position) >= children_.size()) return hr::kFalse;
    item = std::make_shared<PugiNode>(store_, children_[static_cast<std::size_t>(position)]);
    return hr::kOk;
  }

 private:
  HResult Index() {
    if (indexed_ && indexedAt_ == store_->shapeChanges) return hr::kOk;
    indexed_ = false;
    children_.clear();
    try {
      for (pugi::xml_node child : parent_.children()) children_.push_back(child);
    } catch (const std::bad_alloc&) {
      children_.clear();
      return hr::kOutOfMemory;
    }
    indexed_ = true;
    indexedAt_ = store_->shapeChanges;
    return hr::kOk;
  }

  StoreRef store_;
  pugi::xml_node parent_;
  std::vector<pugi::xml_node> children_;
  bool indexed_ = false;
  std::uint64_t indexedAt_ = 0;
};

HResult PugiNode::GetChildNodes(DomNodeList& list) {
  list = std::make_shared<PugiNodeList>(store_, node_);
  return hr::kOk;
}

// The bytes MSXML 3.0 saves, where pugixml's differ. pugixml writes a
// carriage return in character data as it is, and a reader would take it
// for a line end and make it a line feed; loaded text holds none (line ends
// are normalised before parsing), so each one here is part of a value and
// goes out as a character reference. In attribute values MSXML writes '>'
// as "&gt;" and a tab as "&#9;" (pugixml: '>' and "&#09;").
class FileWriter final : public pugi::xml_writer {
 public:
  explicit FileWriter(std::FILE* file) : file_(file) {}
  ~FileWriter() override { Flush(); }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  void write(const void* data, size_t size) override {
    for (const char c : std::string_view(static_cast<const char*>(data), size)) Take(c);
    if (out_.size() > (1u << 16)) Flush();
  }
  // False when a write failed.
  bool Flush() {
    if (!out_.empty() && std::fwrite(out_.data(), 1, out_.size(), file_) != out_.size())
      failed_ = true;
    out_.clear();
    return !failed_;
  }

 private:
  void Take(char c) {
    if (!reference_.empty() || (inValue_ && c == '&')) {
      reference_ += c;
      if (c != ';') return;
      out_ += reference_ == "&#09;" ? "&#9;" : reference_;
      reference_.clear();
    } else if (c == '\r') {
      out_ += "&#13;";
    } else if (inValue_ && c == '>') {
      out_ += "&gt;";
    } else {
      if (c == '"' && inTag_) inValue_ = !inValue_;
      if (c == '<' && !inValue_) inTag_ = true;
      if (c == '>' && !inValue_) inTag_ = false;
      out_ += c;
    }
  }

  std::FILE* file_;
  std::string out_;
  std::string reference_;  // a character reference in an attribute value, so far
  bool inTag_ = false;
  bool inValue_ = false;
  bool failed_ = false;
};

class PugiDocument final : public IDomDocument {
 public:
  PugiDocument() : store_(std::make_shared<Store>()), self_(store_, store_->document) {}

  HResult GetNodeType(int& type) override {
    type = dom::kDocument;
    return hr::kOk;
  }
  HResult GetFirstChild(DomNode& child) override { return self_.GetFirstChild(child); }
  HResult GetLastChild(DomNode& child) override { return self_.GetLastChild(child); }
  HResult GetChildNodes(DomNodeList& list) override { return self_.GetChildNodes(list); }
  // A document takes one element at most.
  HResult AppendChild(const DomNode& child) override {
    if (SecondElement(child)) return hr::kFail;
    return self_.AppendChild(child);
  }
  HResult InsertBefore(const DomNode& child, const DomNode& reference) override {
    if (SecondElement(child)) return hr::kFail;
    return self_.InsertBefore(child, reference);
  }
  HResult RemoveChild(const DomNode& child) override { return self_.RemoveChild(child); }
  HResult GetText(std::string& text) override { return self_.GetText(text); }
  HResult PutText(const char*) override { return hr::kFail; }
  bool IsElement() override { return false; }
  HResult SetAttribute(const std::string&, const std::string&) override { return kNoInterface; }
  HResult GetAttributeNode(const std::string&, DomNode& attribute) override {
    attribute.reset();
    return kNoInterface;
  }

  HResult PutAsync(bool) override { return hr::kOk; }

  HResult ReadSource(const std::string& path, std::string& text) override {
    text.clear();
    const std::string hostPath = ToHostPath(path);
    // A directory opens as a stream on the host, but is no file.
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error)) return hr::kFalse;
    std::ifstream in(hostPath, std::ios::binary);
    try {
      text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
      text.clear();
      return hr::kOutOfMemory;
    }
    return in.bad() || !in.is_open() ? hr::kFalse : hr::kOk;
  }

  HResult LoadText(const std::string& text) override {
    pugi::xml_document loaded;
    if (!loaded.load_buffer(text.data(), text.size(), kParseOptions)) return hr::kFalse;
    ParkChildren(*store_, store_->document);
    ++store_->shapeChanges;
    for (pugi::xml_node child : loaded.children()) Adopt(child);
    return hr::kOk;
  }

  HResult Save(const std::string& path) override {
    std::FILE* file = std::fopen(ToHostPath(path).c_str(), "wb");
    if (!file) return hr::kFail;
    bool written = false;
    {
      FileWriter writer(file);
      for (pugi::xml_node child : store_->document.children()) {
        child.print(writer, "", pugi::format_raw | pugi::format_no_declaration,
                    pugi::encoding_utf8);
        writer.write("\n", 1);
      }
      written = writer.Flush();
    }
    const bool closed = std::fclose(file) == 0;
    return closed && written ? hr::kOk : hr::kFail;
  }

  HResult GetDocumentElement(DomNode& element) override {
    element.reset();
    const pugi::xml_node found = DocumentElement();
    if (!found) return hr::kFalse;
    element = std::make_shared<PugiNode>(store_, found);
    return hr::kOk;
  }
  HResult CreateElement(const std::string& name, DomNode& element) override {
    element.reset();
    if (name.empty()) return kInvalidArg;
    pugi::xml_node created = store_->parked.append_child(name.c_str());
    if (!created) return hr::kOutOfMemory;
    element = std::make_shared<PugiNode>(store_, created);
    return hr::kOk;
  }
  HResult CreateProcessingInstruction(const std::string& target, const std::string& data,
                                      DomNode& instruction) override {
    instruction.reset();
    if (target.empty()) return kInvalidArg;
    pugi::xml_node created = store_->parked.append_child(pugi::node_pi);
    if (!created || !created.set_name(target.c_str()) || !created.set_value(data.c_str())) {
      return hr::kOutOfMemory;
    }
    instruction = std::make_shared<PugiNode>(store_, created);
    return hr::kOk;
  }

 private:
  // Copies a loaded top-level node. Only a document node takes a
  // declaration, so it is kept as the instruction it is in the DOM.
  void Adopt(const pugi::xml_node& node) {
    if (node.type() != pugi::node_declaration) {
      store_->document.append_copy(node);
      return;
    }
    std::string data;
    for (pugi::xml_attribute a : node.attributes()) {
      data += std::string(data.empty() ? "" : " ") + a.name() + "=\"" + a.value() + "\"";
    }
    pugi::xml_node instruction = store_->document.append_child(pugi::node_pi);
    instruction.set_name("xml");
    instruction.set_value(data.c_str());
  }

  pugi::xml_node DocumentElement() const {
    for (pugi::xml_node child : store_->document.children()) {
      if (child.type() == pugi::node_element) return child;
    }
    return {};
  }
  bool SecondElement(const DomNode& child) const {
    return child && child->IsElement() && DocumentElement();
  }

  StoreRef store_;
  PugiNode self_;
};

}  // namespace

HResult PugiDomFactory::CreateDocument(const std::string& progId, DomDocument& document) {
  document.reset();
  if (strcasecmp(progId.c_str(), "Msxml2.DOMDocument.3.0") != 0) return kClassNotRegistered;
  document = std::make_shared<PugiDocument>();
  return hr::kOk;
}

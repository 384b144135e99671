#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/HResult.h"

// The XML document object model the asset document is written through:
// documents, nodes and child lists as counted references, every operation
// answering with a COM result code. Strings are narrow texts in the ANSI
// code page; each backend converts them at its boundary. A conversion that
// fails makes the operation fail with its code; nothing throws.

class IDomNode;
class IDomNodeList;
class IDomDocument;
using DomNode = std::shared_ptr<IDomNode>;
using DomNodeList = std::shared_ptr<IDomNodeList>;
using DomDocument = std::shared_ptr<IDomDocument>;

namespace dom {
// Node types as the DOM numbers them.
inline constexpr int kElement = 1;
inline constexpr int kAttribute = 2;
inline constexpr int kText = 3;
inline constexpr int kProcessingInstruction = 7;
inline constexpr int kDocument = 9;
}  // namespace dom

class IDomNode {
 public:
  virtual ~IDomNode() = default;
  virtual HResult GetNodeType(int& type) = 0;
  // S_FALSE (1) and a null child when there is none.
  virtual HResult GetFirstChild(DomNode& child) = 0;
  virtual HResult GetLastChild(DomNode& child) = 0;
  virtual HResult GetChildNodes(DomNodeList& list) = 0;
  virtual HResult AppendChild(const DomNode& child) = 0;
  virtual HResult InsertBefore(const DomNode& child, const DomNode& reference) = 0;
  virtual HResult RemoveChild(const DomNode& child) = 0;
  // The text content of the node and everything below it.
  virtual HResult GetText(std::string& text) = 0;
  // A null text stands for the DOM's null string.
  virtual HResult PutText(const char* text) = 0;
  // Whether the node answers as an element (QueryInterface for the element
  // interface); only elements take the attribute operations below.
  virtual bool IsElement() = 0;
  // Creates or replaces the attribute.
  virtual HResult SetAttribute(const std::string& name, const std::string& value) = 0;
  // S_FALSE (1) and a null node when the attribute does not exist.
  virtual HResult GetAttributeNode(const std::string& name, DomNode& attribute) = 0;
};

class IDomNodeList {
 public:
  virtual ~IDomNodeList() = default;
  virtual HResult GetLength(std::int32_t& length) = 0;
  // S_FALSE (1) and a null node for a position out of range.
  virtual HResult GetItem(std::int32_t position, DomNode& item) = 0;
};

class IDomDocument : public IDomNode {
 public:
  virtual HResult PutAsync(bool async) = 0;
  // The bytes of the file at `path`, as they are. S_FALSE (1) when there is
  // no file to read there.
  virtual HResult ReadSource(const std::string& path, std::string& text) = 0;
  // Replaces the document's content by the document in `text` (bytes in
  // the encoding it declares or starts with). 0 when parsed; S_FALSE (1)
  // when it is not well-formed. Blank text that is an element's only
  // content is kept.
  virtual HResult LoadText(const std::string& text) = 0;
  // 0 when saved; a failure code otherwise.
  virtual HResult Save(const std::string& path) = 0;
  // S_FALSE (1) and a null element when the document has none.
  virtual HResult GetDocumentElement(DomNode& element) = 0;
  virtual HResult CreateElement(const std::string& name, DomNode& element) = 0;
  virtual HResult CreateProcessingInstruction(const std::string& target, const std::string& data,
                                              DomNode& instruction) = 0;
};

// Creates documents by ProgID. A result other than 0 leaves `document` null.
class IDomFactory {
 public:
  virtual ~IDomFactory() = default;
  virtual HResult CreateDocument(const std::string& progId, DomDocument& document) = 0;
};

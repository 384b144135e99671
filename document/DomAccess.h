#pragma once
#include <cstdint>
#include <string>

#include "document/DomFactory.h"

// One XML document and the few operations the module needs on it. Every
// operation checks its arguments first; a refused operation does nothing
// and answers 1, no node or empty text, by its kind. The result of the last
// DOM call (or of a refused save or creation) is kept in LastResult().
// Texts and attribute values are written without the control characters
// XML 1.0 cannot carry, and read back exactly as written otherwise: blanks
// at the edges, blank-only values, CR, LF and tab included.
// Belongs to one thread; COM must have been entered on it.
class DomAccess {
 public:
  static constexpr const char* kProgId = "Msxml2.DOMDocument.3.0";
  static constexpr std::uint32_t kCreated = 1u << 0;
  static constexpr std::uint32_t kHasContent = 1u << 1;
  static constexpr HResult kRootExists = 183;

  // The factory may be null: then no document can be created.
  explicit DomAccess(IDomFactory* factory) : m_pFactory(factory) {}
  // Empties the document and releases it.
  ~DomAccess();
  DomAccess(const DomAccess&) = delete;
  DomAccess& operator=(const DomAccess&) = delete;

  // 0 created, 1 not created. An existing document is emptied and dropped.
  int CreateDocument(const std::string& progId);
  // 0 loaded; otherwise the load's result (1 for a missing or broken file,
  // and for one that declares a document type). See FilterSourceText.
  HResult Load(const std::string& path);
  // 0 saved; 1 without a document.
  HResult Save(const std::string& path);
  // Inserts <?xml version='..' [encoding='..'] [standalone='..']?> first.
  HResult SetDeclaration(const std::string& version, const std::string& encoding,
                         const std::string& standalone);
  // Null when a root exists already (LastResult() is then 183).
  DomNode CreateRootElement(const std::string& name);
  DomNode AppendElement(const DomNode& parent, const std::string& name);
  HResult SetAttribute(const DomNode& element, const std::string& name, const std::string& value);
  // A null text is written as the DOM's null string.
  HResult SetText(const DomNode& node, const char* text);
  DomNode GetRootElement();
  // Null when the first child is not an element.
  DomNode GetFirstChildElement(const DomNode& node);
  // Held by this object until the next call.
  DomNodeList GetChildNodes(const DomNode& node);
  std::int32_t GetChildCount(const DomNode& node);
  // Null when out of range or not an element.
  DomNode GetItemElement(const DomNodeList& list, std::int32_t position);
  std::string GetText(const DomNode& node);
  std::string GetAttributeText(const DomNode& element, const std::string& name);
  // 1 when the attribute does not exist; it is then not created.
  HResult SetExistingAttribute(const DomNode& element, const std::string& name,
                               const std::string& value);
  // Children go last first; on the document node this also drops the cached
  // declaration, element and list and clears the content flag.
  void RemoveAllChildren(const DomNode& node);

  DomNode Document() const { return m_pDocument; }
  DomNode Declaration() const { return m_pDeclaration; }
  std::uint32_t Flags() const { return m_dwFlags; }
  HResult LastResult() const { return m_hrLast; }
  const std::string& ProgId() const { return m_bstrProgId; }
  bool HasDocument() const { return (m_dwFlags & kCreated) != 0; }

 private:
  void DropDocument();
  // QueryInterface for the element interface: the node itself or null.
  static DomNode AsElement(const DomNode& node);

  IDomFactory* m_pFactory;
  DomDocument m_pDocument;
  DomNode m_pDeclaration;
  DomNode m_pElement;
  DomNodeList m_pNodeList;
  std::uint32_t m_dwFlags = 0;
  HResult m_hrLast = 0;
  std::string m_bstrProgId;
};

#include "document/DomAccess.h"

#include "document/ControlCharacters.h"
#include "document/SourceFilter.h"

namespace {

bool IsInstruction(const DomNode& node) {
  int type = 0;
  return node && Succeeded(node->GetNodeType(type)) && type == dom::kProcessingInstruction;
}

}  // namespace

DomAccess::~DomAccess() { DropDocument(); }

void DomAccess::DropDocument() {
  if (m_pDocument) RemoveAllChildren(m_pDocument);
  m_pDocument.reset();
  m_dwFlags = 0;
  m_hrLast = 0;
  m_bstrProgId.clear();
}

DomNode DomAccess::AsElement(const DomNode& node) {
  return node && node->IsElement() ? node : nullptr;
}

int DomAccess::CreateDocument(const std::string& progId) {
  if (m_pDocument) DropDocument();
  DomDocument created;
  if (!m_pFactory || m_pFactory->CreateDocument(progId, created) != hr::kOk || !created) {
    m_hrLast = hr::kFalse;
    return 1;
  }
  m_pDocument = std::move(created);
  m_bstrProgId = progId;
  m_pDocument->PutAsync(false);
  m_dwFlags |= kCreated;
  m_hrLast = hr::kOk;
  return 0;
}

HResult DomAccess::Load(const std::string& path) {
  if (!m_pDocument && CreateDocument(kProgId) != 0) return hr::kFalse;
  if (m_dwFlags & kHasContent) RemoveAllChildren(m_pDocument);

  // The file's text is filtered before the parser sees it: a document type
  // declaration is refused (a planted file must reach nothing outside
  // itself), and characters no writer may put in a document are dropped, so
  // a file that holds them does not stay unloadable.
  std::string text;
  m_hrLast = m_pDocument->ReadSource(path, text);
  if (m_hrLast == hr::kOk && !FilterSourceText(text)) m_hrLast = hr::kFalse;
  if (m_hrLast == hr::kOk) m_hrLast = m_pDocument->LoadText(text);
  if (m_hrLast != hr::kOk) return m_hrLast;

  DomNode child;
  m_hrLast = m_pDocument->GetFirstChild(child);
  if (Failed(m_hrLast)) return m_hrLast;
  if (IsInstruction(child)) {
    m_pDeclaration = child;
  } else {
    m_hrLast = m_pDocument->GetLastChild(child);
    if (Failed(m_hrLast)) return m_hrLast;
    if (IsInstruction(child)) m_pDeclaration = child;
  }
  m_dwFlags |= kHasContent;
  return hr::kOk;
}

HResult DomAccess::Save(const std::string& path) {
  if (!m_pDocument) {
    m_hrLast = hr::kFalse;
    return m_hrLast;
  }
  m_hrLast = m_pDocument->Save(path);
  return m_hrLast;
}

HResult DomAccess::SetDeclaration(const std::string& version, const std::string& encoding,
                                  const std::string& standalone) {
  if (!m_pDocument) return hr::kFalse;
  std::string data = "version='" + version + "'";
  if (!encoding.empty()) data += " encoding='" + encoding + "'";
  if (!standalone.empty()) data += " standalone='" + standalone + "'";

  m_pDeclaration.reset();
  m_hrLast = m_pDocument->CreateProcessingInstruction("xml", data, m_pDeclaration);
  if (!m_pDeclaration) return hr::kFalse;

  DomNode first;
  m_hrLast = m_pDocument->GetFirstChild(first);
  m_hrLast = first ? m_pDocument->InsertBefore(m_pDeclaration, first)
                   : m_pDocument->AppendChild(m_pDeclaration);
  if (m_hrLast != hr::kOk) m_pDeclaration.reset();
  m_dwFlags |= kHasContent;
  return m_hrLast;
}

DomNode DomAccess::CreateRootElement(const std::string& name) {
  if (!m_pDocument || name.empty()) return nullptr;
  DomNode existing;
  m_hrLast = m_pDocument->GetDocumentElement(existing);
  if (existing) {
    m_hrLast = kRootExists;
    return nullptr;
  }
  DomNode element;
  m_hrLast = m_pDocument->CreateElement(name, element);
  if (m_hrLast != hr::kOk || !element) return nullptr;
  m_hrLast = m_pDocument->AppendChild(element);
  if (m_hrLast != hr::kOk) return nullptr;
  m_dwFlags |= kHasContent;
  return element;
}

DomNode DomAccess::AppendElement(const DomNode& parent, const std::string& name) {
  if (!m_pDocument || !parent || name.empty()) return nullptr;
  DomNode element;
  m_hrLast = m_pDocument->CreateElement(name, element);
  if (m_hrLast != hr::kOk || !element) return nullptr;
  m_hrLast = parent->AppendChild(element);
  return m_hrLast == hr::kOk ? element : nullptr;
}

HResult DomAccess::SetAttribute(const DomNode& element, const std::string& name,
                                const std::string& value) {
  if (!m_pDocument || !element || name.empty()) return hr::kFalse;
  m_hrLast = element->SetAttribute(name, WithoutForbiddenControls(value));
  return m_hrLast;
}

HResult DomAccess::SetText(const DomNode& node, const char* text) {
  if (!node) return hr::kFalse;
  m_hrLast = text ? node->PutText(WithoutForbiddenControls(text).c_str()) : node->PutText(nullptr);
  return m_hrLast;
}

DomNode DomAccess::GetRootElement() {
  if (!m_pDocument) return nullptr;
  DomNode node;
  m_hrLast = m_pDocument->GetLastChild(node);
  if (Failed(m_hrLast)) node.reset();
  if (IsInstruction(node)) {
    m_hrLast = m_pDocument->GetFirstChild(node);
    if (Failed(m_hrLast) || IsInstruction(node)) node.reset();
  }
  m_pElement = AsElement(node);
  return m_pElement;
}

DomNode DomAccess::GetFirstChildElement(const DomNode& node) {
  if (!node) return nullptr;
  DomNode child;
  m_hrLast = node->GetFirstChild(child);
  m_pElement = Failed(m_hrLast) ? nullptr : AsElement(child);
  return m_pElement;
}

DomNodeList DomAccess::GetChildNodes(const DomNode& node) {
  if (!m_pDocument || !node) return nullptr;
  DomNodeList list;
  m_hrLast = node->GetChildNodes(list);
  m_pNodeList = Failed(m_hrLast) ? nullptr : list;
  return m_pNodeList;
}

std::int32_t DomAccess::GetChildCount(const DomNode& node) {
  if (!node) return 0;
  DomNodeList list;
  m_hrLast = node->GetChildNodes(list);
  if (Failed(m_hrLast) || !list) return 0;
  std::int32_t length = 0;
  m_hrLast = list->GetLength(length);
  return Failed(m_hrLast) ? 0 : length;
}

DomNode DomAccess::GetItemElement(const DomNodeList& list, std::int32_t position) {
  if (!m_pDocument || !list) return nullptr;
  std::int32_t length = 0;
  m_hrLast = list->GetLength(length);
  if (Failed(m_hrLast) || position < 0 || position >= length) return nullptr;
  DomNode item;
  m_hrLast = list->GetItem(position, item);
  m_pElement = Failed(m_hrLast) ? nullptr : AsElement(item);
  return m_pElement;
}

std::string DomAccess::GetText(const DomNode& node) {
  std::string text;
  if (!node) return text;
  m_hrLast = node->GetText(text);
  if (Failed(m_hrLast)) text.clear();
  return text;
}

std::string DomAccess::GetAttributeText(const DomNode& element, const std::string& name) {
  if (!m_pDocument || !element || name.empty()) return {};
  DomNode attribute;
  m_hrLast = element->GetAttributeNode(name, attribute);
  if (!attribute) return {};
  return GetText(attribute);
}

HResult DomAccess::SetExistingAttribute(const DomNode& element, const std::string& name,
                                        const std::string& value) {
  if (!m_pDocument || !element || name.empty()) return hr::kFalse;
  DomNode attribute;
  m_hrLast = element->GetAttributeNode(name, attribute);
  if (!attribute) return hr::kFalse;
  m_hrLast = attribute->PutText(WithoutForbiddenControls(value).c_str());
  return m_hrLast;
}

void DomAccess::RemoveAllChildren(const DomNode& node) {
  if (!node) return;
  int type = 0;
  m_hrLast = node->GetNodeType(type);
  if (Succeeded(m_hrLast) && type == dom::kDocument) {
    m_pDeclaration.reset();
    m_pElement.reset();
    m_pNodeList.reset();
    m_dwFlags &= ~kHasContent;
  }
  DomNode child;
  while ((m_hrLast = node->GetLastChild(child)) == hr::kOk && child) {
    m_hrLast = node->RemoveChild(child);
    child.reset();
    // A child that cannot be removed would come back forever.
    if (m_hrLast != hr::kOk) break;
  }
}

#include "document/win/MsxmlDom.h"

#include "platform/win/Windows.h"
//
#include <msxml2.h>
#include <objbase.h>
#include <wrl/client.h>

#include <memory>
#include <new>
#include <string>

#include "document/win/ComText.h"
#include "document/win/DocumentFile.h"

using Microsoft::WRL::ComPtr;

namespace {

// {2933BF95-7B36-11D2-B20E-00C04F983E60}
constexpr IID kIidDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
// {2933BF86-7B36-11D2-B20E-00C04F983E60}
constexpr IID kIidElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

template <typename T>
void** Out(ComPtr<T>& p) {
  return reinterpret_cast<void**>(p.ReleaseAndGetAddressOf());
}

// Every document reads untrusted files safely and keeps every blank of a
// text: no document type is allowed where the installed version knows the
// property (Wine's accepts it and ignores it; the text filter in DomAccess
// refuses document type declarations whatever the version), nothing is
// fetched from outside, nothing validated. Without preserveWhiteSpace MSXML
// trims the edges of every text it reads and drops blank-only values.
void ApplyReadingSettings(IXMLDOMDocument2& document) {
  document.put_preserveWhiteSpace(VARIANT_TRUE);
  document.put_resolveExternals(VARIANT_FALSE);
  document.put_validateOnParse(VARIANT_FALSE);
  const UniqueBstr name(::SysAllocString(L"ProhibitDTD"));
  UniqueVariant prohibit;
  prohibit.SetBool(true);
  if (name) document.setProperty(name.Get(), prohibit.Get());
}

class MsxmlNode : public IDomNode {
 public:
  explicit MsxmlNode(ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}

  IXMLDOMNode* Raw() const { return node_.Get(); }

  static DomNode Wrap(ComPtr<IXMLDOMNode> node) {
    return node ? std::make_shared<MsxmlNode>(std::move(node)) : nullptr;
  }
  static IXMLDOMNode* RawOf(const DomNode& node) {
    const auto* own = dynamic_cast<const MsxmlNode*>(node.get());
    return own ? own->Raw() : nullptr;
  }

  HResult GetNodeType(int& type) override {
    DOMNodeType raw = NODE_INVALID;
    const HRESULT h = node_->get_nodeType(&raw);
    type = static_cast<int>(raw);
    return h;
  }
  HResult GetFirstChild(DomNode& child) override {
    ComPtr<IXMLDOMNode> found;
    const HRESULT h = node_->get_firstChild(found.GetAddressOf());
    child = Wrap(found);
    return h;
  }
  HResult GetLastChild(DomNode& child) override {
    ComPtr<IXMLDOMNode> found;
    const HRESULT h = node_->get_lastChild(found.GetAddressOf());
    child = Wrap(found);
    return h;
  }
  HResult GetChildNodes(DomNodeList& list) override;

  HResult AppendChild(const DomNode& child) override {
    IXMLDOMNode* raw = RawOf(child);
    if (!raw) return E_INVALIDARG;
    ComPtr<IXMLDOMNode> appended;
    return node_->appendChild(raw, appended.GetAddressOf());
  }
  HResult InsertBefore(const DomNode& child, const DomNode& reference) override {
    IXMLDOMNode* raw = RawOf(child);
    if (!raw) return E_INVALIDARG;
    UniqueVariant before;
    before.SetObject(RawOf(reference));
    ComPtr<IXMLDOMNode> inserted;
    return node_->insertBefore(raw, before.Get(), inserted.GetAddressOf());
  }
  HResult RemoveChild(const DomNode& child) override {
    IXMLDOMNode* raw = RawOf(child);
    if (!raw) return E_INVALIDARG;
    ComPtr<IXMLDOMNode> removed;
    return node_->removeChild(raw, removed.GetAddressOf());
  }

  HResult GetText(std::string& text) override {
    text.clear();
    UniqueBstr raw;
    const HRESULT h = node_->get_text(raw.Receive());
    if (FAILED(h)) return h;
    const HRESULT converted = FromBstr(raw.Get(), text);
    return FAILED(converted) ? converted : h;
  }
  HResult PutText(const char* text) override {
    UniqueBstr wide;
    if (text) {
      if (const HRESULT h = ToBstr(text, wide); FAILED(h)) return h;
    }
    return node_->put_text(wide.Get());
  }

  bool IsElement() override { return static_cast<bool>(Element()); }

  HResult SetAttribute(const std::string& name, const std::string& value) override {
    const ComPtr<IXMLDOMElement> element = Element();
    if (!element) return E_NOINTERFACE;
    UniqueBstr wideName, wideValue;
    if (const HRESULT h = ToBstr(name, wideName); FAILED(h)) return h;
    if (const HRESULT h = ToBstr(value, wideValue); FAILED(h)) return h;
    UniqueVariant variant;
    variant.SetString(std::move(wideValue));
    return element->setAttribute(wideName.Get(), variant.Get());
  }
  HResult GetAttributeNode(const std::string& name, DomNode& attribute) override {
    attribute.reset();
    const ComPtr<IXMLDOMElement> element = Element();
    if (!element) return E_NOINTERFACE;
    UniqueBstr wideName;
    if (const HRESULT h = ToBstr(name, wideName); FAILED(h)) return h;
    ComPtr<IXMLDOMAttribute> found;
    const HRESULT h = element->getAttributeNode(wideName.Get(), found.GetAddressOf());
    if (found) attribute = Wrap(ComPtr<IXMLDOMNode>(found.Get()));
    return h;
  }

 private:
  ComPtr<IXMLDOMElement> Element() const {
    ComPtr<IXMLDOMElement> element;
    if (FAILED(node_->QueryInterface(kIidElement, Out(element)))) element.Reset();
    return element;
  }

  ComPtr<IXMLDOMNode> node_;
};

class MsxmlNodeList final : public IDomNodeList {
 public:
  explicit MsxmlNodeList(ComPtr<IXMLDOMNodeList> list) : list_(std::move(list)) {}

  HResult GetLength(std::int32_t& length) override {
    long raw = 0;
    const HRESULT h = list_->get_length(&raw);
    length = static_cast<std::int32_t>(raw);
    return h;
  }
  HResult GetItem(std::int32_t position, DomNode& item) override {
    ComPtr<IXMLDOMNode> found;
    const HRESULT h = list_->get_item(position, found.GetAddressOf());
    item = MsxmlNode::Wrap(found);
    return h;
  }

 private:
  ComPtr<IXMLDOMNodeList> list_;
};

HResult MsxmlNode::GetChildNodes(DomNodeList& list) {
  list.reset();
  ComPtr<IXMLDOMNodeList> found;
  const HRESULT h = node_->get_childNodes(found.GetAddressOf());
  if (found) list = std::make_shared<MsxmlNodeList>(found);
  return h;
}

class MsxmlDocument final : public IDomDocument {
 public:
  explicit MsxmlDocument(ComPtr<IXMLDOMDocument2> document)
      : document_(std::move(document)), self_(ComPtr<IXMLDOMNode>(document_.Get())) {}

  HResult GetNodeType(int& type) override { return self_.GetNodeType(type); }
  HResult GetFirstChild(DomNode& child) override { return self_.GetFirstChild(child); }
  HResult GetLastChild(DomNode& child) override { return self_.GetLastChild(child); }
  HResult GetChildNodes(DomNodeList& list) override { return self_.GetChildNodes(list); }
  HResult AppendChild(const DomNode& child) override { return self_.AppendChild(child); }
  HResult InsertBefore(const DomNode& child, const DomNode& reference) override {
    return self_.InsertBefore(child, reference);
  }
  HResult RemoveChild(const DomNode& child) override { return self_.RemoveChild(child); }
  HResult GetText(std::string& text) override { return self_.GetText(text); }
  HResult PutText(const char* text) override { return self_.PutText(text); }
  bool IsElement() override { return false; }
  HResult SetAttribute(const std::string&, const std::string&) override { return E_NOINTERFACE; }
  HResult GetAttributeNode(const std::string&, DomNode& attribute) override {
    attribute.reset();
    return E_NOINTERFACE;
  }

  HResult PutAsync(bool async) override {
    return document_->put_async(async ? VARIANT_TRUE : VARIANT_FALSE);
  }
  HResult ReadSource(const std::string& path, std::string& text) override {
    text.clear();
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return S_FALSE;
    constexpr DWORD kChunk = 64 * 1024;
    try {
      for (;;) {
        const std::size_t used = text.size();
        text.resize(used + kChunk);
        DWORD read = 0;
        if (!::ReadFile(file.Get(), text.data() + used, kChunk, &read, nullptr)) {
          text.clear();
          return S_FALSE;
        }
        text.resize(used + read);
        if (read == 0) return S_OK;
      }
    } catch (const std::bad_alloc&) {
      text.clear();
      return E_OUTOFMEMORY;
    }
  }
  HResult LoadText(const std::string& text) override {
    UniqueVariant source;
    if (const HRESULT h = source.SetBytes(text); FAILED(h)) return h;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT h = document_->load(source.Get(), &loaded);
    if (h == S_OK && loaded != VARIANT_TRUE) return S_FALSE;
    return h;
  }
  HResult Save(const std::string& path) override {
    return SaveDocumentFile(*document_.Get(), path);
  }
  HResult GetDocumentElement(DomNode& element) override {
    ComPtr<IXMLDOMElement> found;
    const HRESULT h = document_->get_documentElement(found.GetAddressOf());
    element = MsxmlNode::Wrap(ComPtr<IXMLDOMNode>(found.Get()));
    return h;
  }
  HResult CreateElement(const std::string& name, DomNode& element) override {
    element.reset();
    UniqueBstr wideName;
    if (const HRESULT h = ToBstr(name, wideName); FAILED(h)) return h;
    ComPtr<IXMLDOMElement> created;
    const HRESULT h = document_->createElement(wideName.Get(), created.GetAddressOf());
    element = MsxmlNode::Wrap(ComPtr<IXMLDOMNode>(created.Get()));
    return h;
  }
  HResult CreateProcessingInstruction(const std::string& target, const std::string& data,
                                      DomNode& instruction) override {
    instruction.reset();
    UniqueBstr wideTarget, wideData;
    if (const HRESULT h = ToBstr(target, wideTarget); FAILED(h)) return h;
    if (const HRESULT h = ToBstr(data, wideData); FAILED(h)) return h;
    ComPtr<IXMLDOMProcessingInstruction> created;
    const HRESULT h = document_->createProcessingInstruction(wideTarget.Get(), wideData.Get(),
                                                             created.GetAddressOf());
    instruction = MsxmlNode::Wrap(ComPtr<IXMLDOMNode>(created.Get()));
    return h;
  }

 private:
  ComPtr<IXMLDOMDocument2> document_;
  MsxmlNode self_;
};

}  // namespace

HResult MsxmlDomFactory::CreateDocument(const std::string& progId, DomDocument& document) {
  document.reset();
  UniqueBstr wideProgId;
  if (const HRESULT h = ToBstr(progId, wideProgId); FAILED(h)) return h;
  CLSID clsid;
  if (const HRESULT h = ::CLSIDFromProgID(wideProgId.Get(), &clsid); FAILED(h)) return h;
  ComPtr<IXMLDOMDocument2> created;
  const HRESULT h = ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, kIidDocument2, Out(created));
  if (h != S_OK || !created) return FAILED(h) ? h : E_FAIL;
  ApplyReadingSettings(*created.Get());
  document = std::make_shared<MsxmlDocument>(std::move(created));
  return S_OK;
}

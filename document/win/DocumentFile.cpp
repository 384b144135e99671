#include "document/win/DocumentFile.h"

#include <objbase.h>
#include <wrl/client.h>

#include <new>

#include "document/win/ComText.h"
#include "document/win/FileStream.h"

using Microsoft::WRL::ComPtr;

namespace {

HRESULT SaveTo(IXMLDOMDocument2& document, IUnknown* stream) {
  UniqueVariant target;
  target.SetUnknown(stream);
  return document.save(target.Get());
}

HRESULT SaveByPath(IXMLDOMDocument2& document, const std::string& path) {
  UniqueBstr wide;
  if (const HRESULT h = ToBstr(path, wide); FAILED(h)) return h;
  UniqueVariant target;
  target.SetString(std::move(wide));
  return document.save(target.Get());
}

bool IsXmlTarget(BSTR name) {
  return name && ::SysStringLen(name) == 3 && name[0] == L'x' && name[1] == L'm' && name[2] == L'l';
}

// The document's first child when it is the XML declaration, with its text
// as a line of the file; null when it is not, when the declaration holds
// anything but ASCII (written here byte for byte, it would need encoding),
// or when there is no memory for the line (MSXML then saves it all).
ComPtr<IXMLDOMNode> Declaration(IXMLDOMDocument2& document, std::string& line) {
  ComPtr<IXMLDOMNode> first;
  DOMNodeType type = NODE_INVALID;
  UniqueBstr target, data;
  if (document.get_firstChild(first.GetAddressOf()) != S_OK || !first ||
      FAILED(first->get_nodeType(&type)) || type != NODE_PROCESSING_INSTRUCTION ||
      FAILED(first->get_nodeName(target.Receive())) || !IsXmlTarget(target.Get()) ||
      FAILED(first->get_text(data.Receive()))) {
    return nullptr;
  }
  const UINT length = data ? ::SysStringLen(data.Get()) : 0;
  try {
    line = "<?xml ";
    for (UINT i = 0; i < length; ++i) {
      if (data.Get()[i] > 0x7F) return nullptr;
      line += static_cast<char>(data.Get()[i]);
    }
    line += "?>\n";
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return first;
}

// Puts the declaration back first.
void Restore(IXMLDOMDocument2& document, IXMLDOMNode* declaration) {
  ComPtr<IXMLDOMNode> first, placed;
  document.get_firstChild(first.GetAddressOf());
  UniqueVariant before;
  before.SetObject(first.Get());
  if (first) {
    document.insertBefore(declaration, before.Get(), placed.GetAddressOf());
  } else {
    document.appendChild(declaration, placed.GetAddressOf());
  }
}

// The declaration line, then what MSXML writes of the document.
HRESULT WriteDeclaredFile(IXMLDOMDocument2& document, const std::string& path,
                          const std::string& declaration) {
  FileStream* created = nullptr;
  if (const HRESULT h = FileStream::Create(path, created); FAILED(h)) return h;
  ComPtr<FileStream> file;
  file.Attach(created);
  HRESULT h = file->Write(declaration.data(), static_cast<ULONG>(declaration.size()), nullptr);
  if (SUCCEEDED(h)) h = SaveTo(document, file.Get());
  const HRESULT closed = file->Close();
  return h != S_OK ? h : closed;
}

}  // namespace

HRESULT SaveDocumentFile(IXMLDOMDocument2& document, const std::string& path) {
  std::string line;
  const ComPtr<IXMLDOMNode> declaration = Declaration(document, line);
  ComPtr<IXMLDOMNode> removed;
  if (!declaration || document.removeChild(declaration.Get(), removed.GetAddressOf()) != S_OK) {
    return SaveByPath(document, path);
  }
  const HRESULT h = WriteDeclaredFile(document, path, line);
  Restore(document, declaration.Get());
  return h;
}

// Whether saving through MSXML itself keeps memory: a plain client builds
// and saves documents of 1,000 elements, without a declaration, with one
// naming only the version and with one naming an encoding, and reports the
// growth of private bytes for each. Prints "key value" lines.
//
//   save-growth WORK_DIR
// clang-format off
#include "platform/win/Windows.h"
#include <objbase.h>
#include <msxml2.h>
#include <wrl/client.h>
// clang-format on

#include <cstdio>
#include <string>

#include "bench/common/ProcessMemory.h"

using Microsoft::WRL::ComPtr;

namespace {

// IXMLDOMDocument2 (the import library does not define it).
constexpr IID kDocumentIid = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : value_(::SysAllocString(text)) {}
  ~Bstr() { ::SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

void Append(IXMLDOMNode& parent, IXMLDOMNode* child) {
  ComPtr<IXMLDOMNode> appended;
  parent.appendChild(child, &appended);
}

// One document built and saved; `declaration` null for none.
void BuildAndSave(const CLSID& clsid, const wchar_t* declaration, const std::wstring& path) {
  ComPtr<IXMLDOMDocument> document;
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, kDocumentIid, &document))) return;
  if (declaration) {
    ComPtr<IXMLDOMProcessingInstruction> instruction;
    const Bstr target(L"xml"), data(declaration);
    document->createProcessingInstruction(target.get(), data.get(), &instruction);
    Append(*document.Get(), instruction.Get());
  }
  ComPtr<IXMLDOMElement> root;
  const Bstr rootName(L"Root"), name(L"Property"), attribute(L"name");
  document->createElement(rootName.get(), &root);
  Append(*document.Get(), root.Get());
  for (int i = 0; i < 1000; ++i) {
    ComPtr<IXMLDOMElement> element;
    document->createElement(name.get(), &element);
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(L"value");
    element->setAttribute(attribute.get(), value);
    ::VariantClear(&value);
    Append(*root.Get(), element.Get());
  }
  VARIANT target;
  target.vt = VT_BSTR;
  target.bstrVal = ::SysAllocString(path.c_str());
  document->save(target);
  ::VariantClear(&target);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::wstring path;
  for (const char* c = argv[1]; *c; ++c) path.push_back(static_cast<wchar_t>(*c));
  path += L"\\save-growth.xml";
  if (FAILED(::CoInitialize(nullptr))) return 1;
  CLSID clsid;
  if (SUCCEEDED(::CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &clsid))) {
    const struct {
      const char* key;
      const wchar_t* declaration;
    } kCases[] = {
        {"no_declaration", nullptr},
        {"version_only", L"version='1.0'"},
        {"with_encoding", L"version='1.0' encoding='UTF-8' standalone='yes'"},
    };
    for (const auto& c : kCases) {
      double early = 0;
      for (int i = 1; i <= 100; ++i) {
        BuildAndSave(clsid, c.declaration, path);
        if (i == 10) early = static_cast<double>(ReadProcessMemory().privateBytes);
      }
      std::printf("%s_growth_kb_per_90 %.0f\n", c.key,
                  (static_cast<double>(ReadProcessMemory().privateBytes) - early) / 1024.0);
    }
  }
  ::CoUninitialize();
  return 0;
}

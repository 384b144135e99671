// Whether saving through MSXML itself keeps memory, and whether the
// module's way of saving (document/win/DocumentFile.h) does: a plain client
// builds and saves documents of 1,000 elements, without a declaration, with
// one naming only the version and with one naming an encoding, and reports
// the growth of private bytes for each, and for creating a declaration
// alone; then it saves documents of every kind both ways and compares the
// files byte for byte. Prints "key value" lines.
//
//   save-growth WORK_DIR
// clang-format off
#include "platform/win/Windows.h"
#include <objbase.h>
#include <msxml2.h>
#include <wrl/client.h>
// clang-format on

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/common/ProcessMemory.h"
#include "document/win/DocumentFile.h"

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

// A document of `elements` elements, each with an attribute and a text;
// `declaration` null for none. Values hold markup, blanks, line ends and,
// with `nonAscii`, letters outside ASCII.
ComPtr<IXMLDOMDocument2> Build(const CLSID& clsid, const wchar_t* declaration, int elements,
                               bool nonAscii) {
  ComPtr<IXMLDOMDocument2> document;
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, kDocumentIid, &document))) {
    return nullptr;
  }
  if (declaration) {
    ComPtr<IXMLDOMProcessingInstruction> instruction;
    const Bstr target(L"xml"), data(declaration);
    document->createProcessingInstruction(target.get(), data.get(), &instruction);
    Append(*document.Get(), instruction.Get());
  }
  ComPtr<IXMLDOMElement> root;
  const Bstr rootName(L"Root"), name(L"Property"), attribute(L"name");
  const Bstr text(nonAscii ? L" \x00e9\x00fc \x20ac\x4e2d & < > \" ' \r\n\t"
                           : L" a & b < c \r\n\t");
  document->createElement(rootName.get(), &root);
  Append(*document.Get(), root.Get());
  for (int i = 0; i < elements; ++i) {
    ComPtr<IXMLDOMElement> element;
    document->createElement(name.get(), &element);
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(i % 2 ? text.get() : L"value");
    element->setAttribute(attribute.get(), value);
    ::VariantClear(&value);
    if (i % 3) element->put_text(text.get());
    Append(*root.Get(), element.Get());
  }
  return document;
}

HRESULT SaveByMsxml(IXMLDOMDocument2& document, const std::wstring& path) {
  VARIANT target;
  target.vt = VT_BSTR;
  target.bstrVal = ::SysAllocString(path.c_str());
  const HRESULT h = document.save(target);
  ::VariantClear(&target);
  return h;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Declared {
  const char* key;
  const wchar_t* declaration;
};

constexpr Declared kDeclarations[] = {
    {"no_declaration", nullptr},
    {"version_only", L"version='1.0'"},
    {"with_encoding", L"version='1.0' encoding='UTF-8' standalone='yes'"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  const std::string path = dir + "\\save-growth.xml";
  const std::string other = dir + "\\save-growth-module.xml";
  const std::wstring widePath(path.begin(), path.end());
  if (FAILED(::CoInitialize(nullptr))) return 1;
  CLSID clsid;
  if (SUCCEEDED(::CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &clsid))) {
    for (const bool module : {false, true}) {
      for (const Declared& c : kDeclarations) {
        double early = 0;
        for (int i = 1; i <= 100; ++i) {
          const ComPtr<IXMLDOMDocument2> document = Build(clsid, c.declaration, 1000, false);
          if (!document) break;
          if (module) {
            SaveDocumentFile(*document.Get(), path);
          } else {
            SaveByMsxml(*document.Get(), widePath);
          }
          if (i == 10) early = static_cast<double>(ReadProcessMemory().privateBytes);
        }
        std::printf("%s%s_growth_kb_per_90 %.0f\n", module ? "module_" : "", c.key,
                    (static_cast<double>(ReadProcessMemory().privateBytes) - early) / 1024.0);
      }
    }
    // Creating the declaration alone, without a save: 1,000 documents.
    double early = 0;
    for (int i = 1; i <= 1000; ++i) {
      Build(clsid, kDeclarations[2].declaration, 0, false);
      if (i == 100) early = static_cast<double>(ReadProcessMemory().privateBytes);
    }
    std::printf("declaration_created_growth_kb_per_900 %.0f\n",
                (static_cast<double>(ReadProcessMemory().privateBytes) - early) / 1024.0);
    int documents = 0, identical = 0;
    for (const Declared& c : kDeclarations) {
      for (const bool nonAscii : {false, true}) {
        for (const int elements : {0, 1, 1000}) {
          const ComPtr<IXMLDOMDocument2> document = Build(clsid, c.declaration, elements, nonAscii);
          if (!document) continue;
          ++documents;
          if (SaveByMsxml(*document.Get(), widePath) == S_OK &&
              SaveDocumentFile(*document.Get(), other) == S_OK && Bytes(path) == Bytes(other) &&
              SaveByMsxml(*document.Get(), widePath) == S_OK && Bytes(path) == Bytes(other)) {
            ++identical;
          }
        }
      }
    }
    std::printf("module_save_documents %d\n", documents);
    std::printf("module_save_identical %d\n", identical);
  }
  ::CoUninitialize();
  return 0;
}

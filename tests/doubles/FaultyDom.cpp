#include "doubles/FaultyDom.h"

#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#ifndef _WIN32
#include "document/pugi/HostPath.h"
#endif

namespace {

class FaultyDocument final : public IDomDocument {
 public:
  FaultyDocument(DomDocument real, FaultyDomFactory& owner)
      : real_(std::move(real)), owner_(owner) {}

  HResult GetNodeType(int& type) override { return real_->GetNodeType(type); }
  HResult GetFirstChild(DomNode& child) override { return real_->GetFirstChild(child); }
  HResult GetLastChild(DomNode& child) override { return real_->GetLastChild(child); }
  HResult GetChildNodes(DomNodeList& list) override { return real_->GetChildNodes(list); }
  HResult AppendChild(const DomNode& child) override { return real_->AppendChild(child); }
  HResult InsertBefore(const DomNode& child, const DomNode& reference) override {
    return real_->InsertBefore(child, reference);
  }
  HResult RemoveChild(const DomNode& child) override { return real_->RemoveChild(child); }
  HResult GetText(std::string& text) override { return real_->GetText(text); }
  HResult PutText(const char* text) override { return real_->PutText(text); }
  bool IsElement() override { return real_->IsElement(); }
  HResult SetAttribute(const std::string& name, const std::string& value) override {
    return real_->SetAttribute(name, value);
  }
  HResult GetAttributeNode(const std::string& name, DomNode& attribute) override {
    return real_->GetAttributeNode(name, attribute);
  }
  HResult PutAsync(bool async) override { return real_->PutAsync(async); }
  HResult ReadSource(const std::string& path, std::string& text) override {
    return real_->ReadSource(path, text);
  }
  HResult LoadText(const std::string& text) override { return real_->LoadText(text); }
  HResult Save(const std::string& path) override {
    const int save = ++owner_.saves;
    if (owner_.failSaves.count(save)) return hr::kFail;
    const HResult result = real_->Save(path);
    if (result != hr::kOk || !owner_.interruptSaves.count(save)) return result;
#ifdef _WIN32
    const std::filesystem::path file(path);
#else
    const std::filesystem::path file(ToHostPath(path));
#endif
    std::error_code error;
    std::filesystem::resize_file(file, std::filesystem::file_size(file, error) / 2, error);
    return hr::kFail;
  }
  HResult GetDocumentElement(DomNode& element) override {
    return real_->GetDocumentElement(element);
  }
  HResult CreateElement(const std::string& name, DomNode& element) override {
    return real_->CreateElement(name, element);
  }
  HResult CreateProcessingInstruction(const std::string& target, const std::string& data,
                                      DomNode& instruction) override {
    return real_->CreateProcessingInstruction(target, data, instruction);
  }

 private:
  DomDocument real_;
  FaultyDomFactory& owner_;
};

}  // namespace

HResult FaultyDomFactory::CreateDocument(const std::string& progId, DomDocument& document) {
  document.reset();
  const int creation = ++creations;
  if (throwCreations.count(creation)) throw std::bad_alloc();
  if (failCreations.count(creation)) return static_cast<HResult>(0x80040154u);
  DomDocument real;
  const HResult result = real_.CreateDocument(progId, real);
  if (result == hr::kOk && real) document = std::make_shared<FaultyDocument>(real, *this);
  return result;
}

#pragma once
#include "document/DomFactory.h"

// The document model over pugixml, for builds without MSXML. Texts are
// UTF-8; paths in Windows form are mapped to host paths. It answers like
// MSXML 3.0 where the module depends on it: S_FALSE for a missing or broken
// file, one document element at most, removed nodes stay valid while
// referenced, the declaration saved as it was created.
class PugiDomFactory final : public IDomFactory {
 public:
  // Knows only "Msxml2.DOMDocument.3.0" (ignoring case), like the registry
  // of a machine with MSXML 3.0; any other ProgID is not registered.
  HResult CreateDocument(const std::string& progId, DomDocument& document) override;
};

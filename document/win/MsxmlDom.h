#pragma once
#include "document/DomFactory.h"

// The document model of MSXML 3.0 through COM. The caller has entered COM
// on the calling thread; documents and nodes are used on that thread only.
class MsxmlDomFactory final : public IDomFactory {
 public:
  // CLSIDFromProgID, then CoCreateInstance for IXMLDOMDocument2 with
  // CLSCTX_ALL.
  HResult CreateDocument(const std::string& progId, DomDocument& document) override;
};

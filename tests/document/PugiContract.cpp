#include "document/DomContract.h"
#include "document/pugi/PugiDom.h"

IDomFactory& ContractDomFactory() {
  static PugiDomFactory factory;
  return factory;
}

std::string ContractAnsiText() { return "\xc3\xa9\xc3\xbc"; }

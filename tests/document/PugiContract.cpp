#include "document/DomContract.h"
#include "document/pugi/PugiDom.h"

IDomFactory& ContractDomFactory() {
  static PugiDomFactory factory;
  return factory;
}

#include "tracking/AssetReading.h"

#include "tracking/TextCompare.h"

DomNode FindHardwareAsset(DomAccess& dom) {
  const DomNode root = dom.GetRootElement();
  const DomNode device = dom.GetFirstChildElement(root);
  return dom.GetFirstChildElement(device);
}

DomNode FindSummaryClass(DomAccess& dom, const DomNode& hardware) {
  const DomNodeList children = dom.GetChildNodes(hardware);
  const std::int32_t count = dom.GetChildCount(hardware);
  for (std::int32_t i = 0; i < count; ++i) {
    const DomNode item = dom.GetItemElement(children, i);
    if (EqualIgnoringCase(dom.GetAttributeText(item, asset::kIdAttribute), asset::kSummaryClass)) {
      return item;
    }
  }
  return nullptr;
}

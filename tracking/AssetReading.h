#pragma once
#include <cstdint>
#include <string>

#include "document/AssetFormat.h"
#include "document/DomAccess.h"

// How a reader finds things in an asset document: by position and by the
// summary class's id, never by element names, so any layout of the format
// reads the same.

// HardwareAsset: the root's first child element's first child element.
DomNode FindHardwareAsset(DomAccess& dom);

// The first child of HardwareAsset whose id is the summary class's, in any
// letter case; null when there is none.
DomNode FindSummaryClass(DomAccess& dom, const DomNode& hardware);

// Calls visit(element, name) for each child of the summary class in
// document order; a child that is not an element comes as null with an
// empty name.
template <typename Visit>
void ForEachProperty(DomAccess& dom, const DomNode& summary, Visit&& visit) {
  const DomNodeList children = dom.GetChildNodes(summary);
  const std::int32_t count = dom.GetChildCount(summary);
  for (std::int32_t i = 0; i < count; ++i) {
    const DomNode item = dom.GetItemElement(children, i);
    visit(item, dom.GetAttributeText(item, asset::kNameAttribute));
  }
}

#pragma once
#include "platform/win/Windows.h"
//
#include <msxml2.h>

#include <string>

// Writes `document` to the file at `path` (ANSI), the bytes being those
// its own save() writes there. Wine's msxml3 keeps a copy of every
// document it saves while the document's declaration names an encoding
// (about 0.35 MB for 1,000 elements, on every save), and the asset
// document's does. So the file of a document that starts with a
// declaration is written here: the declaration as it stands and a line
// feed, then what MSXML saves of the document without it into a stream on
// the file (UTF-8, the encoding MSXML writes a document in when none is
// named). The declaration is back in place before this returns. Any other
// document is saved by MSXML itself. Returns the save's result code
// (0 = saved).
HRESULT SaveDocumentFile(IXMLDOMDocument2& document, const std::string& path);

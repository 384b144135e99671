#pragma once
#include <string>

// Makes the text of a file fit to be parsed as a document, before any
// parser sees it, so that every document model reads the same from it:
// - a document type declaration (or any other "<!" markup but comments and
//   CDATA sections) refuses the whole text: nothing it declares is ever
//   resolved, fetched or expanded;
// - characters XML 1.0 cannot carry are dropped, raw or as character
//   references (references stay text in comments, CDATA sections and
//   processing instructions, and are left there);
// - line ends become line feeds, as a parser would make them;
// - inside an element, text made only of blanks that stands beside other
//   nodes is layout (indentation) and is dropped; blank text that is an
//   element's only content is a value and stays.
// UTF-8, the 8-bit encodings and UTF-16 (by its byte-order mark or by its
// first character) are understood. Returns false, with the text in any
// state, when the text is refused; a text holding a zero character (another
// encoding, or not text) is refused as well.
bool FilterSourceText(std::string& text);

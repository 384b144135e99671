#include "tracking/TextCompare.h"

#include "platform/win/Windows.h"

// Texts read from a document hold no zero character, so the zero-terminated
// form compares them whole.
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

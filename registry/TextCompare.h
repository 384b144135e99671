#pragma once
#include <cstddef>

// Registry texts are compared as the module always has: ASCII letters
// upper-cased in place, then an exact byte comparison. Other bytes of the
// ANSI code page are left as they are.
inline void UpperCaseInPlace(char* text) {
  for (; *text; ++text)
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
}

inline bool EqualsIgnoringCase(const char* a, const char* b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (; *a && *b; ++a, ++b)
    if (upper(*a) != upper(*b)) return false;
  return *a == *b;
}

#include "tracking/TextCompare.h"

#include <algorithm>

// Host texts are UTF-8: only ASCII letters fold, other bytes compare as
// they are.
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  const auto fold = [](unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
    return fold(static_cast<unsigned char>(x)) == fold(static_cast<unsigned char>(y));
  });
}

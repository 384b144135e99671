#pragma once
#include <algorithm>
#include <cstdint>
#include <string>

// The characters below U+0020 that XML 1.0 cannot carry, neither as they
// are nor as character references: all of them but tab, line feed and
// carriage return (U+0000 ends every text of the module anyway).
constexpr bool IsForbiddenControl(std::uint32_t code) {
  return code >= 0x01 && code < 0x20 && code != 0x09 && code != 0x0A && code != 0x0D;
}

// The text without those characters. A byte from 0x01 to 0x1F is such a
// character in every ANSI code page and in UTF-8: it is never part of a
// multi-byte character.
inline std::string WithoutForbiddenControls(std::string text) {
  std::erase_if(text, [](char c) { return IsForbiddenControl(static_cast<unsigned char>(c)); });
  return text;
}

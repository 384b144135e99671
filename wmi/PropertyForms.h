#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "wmi/WmiService.h"

// How a property value becomes the text of a record field.
enum class Form {
  Text,          // the string
  Signed,        // "%d" of the 32-bit integer
  Unsigned,      // "%u" of the 32-bit integer
  Signed16,      // "%d" of the signed 16-bit integer (true reads -1)
  FirstElement,  // the first string of an array
};

// A property counts only when the read returned exactly S_OK with a value
// that is neither empty nor null.
bool IsDelivered(const WmiValue& value);

// The field text of a delivered value, or nothing when the value is not
// delivered or is of a type the form cannot read (a number read as text,
// an array without elements, ...): such a value is treated as missing.
std::optional<std::string> ApplyForm(const WmiValue& value, Form form);

// A decimal text read as a signed 64-bit number the C runtime's way:
// leading blanks, an optional sign, then the leading digits; no digits read
// as 0 and values beyond the range saturate.
std::int64_t ReadDecimal64(const std::string& text);

// The text upper-cased (ASCII letters only).
std::string UpperCased(std::string text);

// Equality without regard to ASCII letter case.
bool EqualsNoCase(const std::string& a, const std::string& b);

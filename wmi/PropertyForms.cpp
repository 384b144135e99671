#include "wmi/PropertyForms.h"

#include <cctype>
#include <limits>

namespace {

std::optional<std::int32_t> Integer(const WmiValue& value) {
  switch (value.type) {
    case WmiType::Int32:
    case WmiType::Int16:
    case WmiType::Bool:
      return value.number;
    default:
      return std::nullopt;
  }
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

}  // namespace

bool IsDelivered(const WmiValue& value) {
  return value.result == hr::kOk && value.type != WmiType::Empty && value.type != WmiType::Null;
}

std::optional<std::string> ApplyForm(const WmiValue& value, Form form) {
  if (!IsDelivered(value)) return std::nullopt;
  switch (form) {
    case Form::Text:
      if (value.type != WmiType::String) return std::nullopt;
      return value.text;
    case Form::Signed:
      if (auto n = Integer(value)) return std::to_string(*n);
      return std::nullopt;
    case Form::Unsigned:
      if (auto n = Integer(value)) return std::to_string(static_cast<std::uint32_t>(*n));
      return std::nullopt;
    case Form::Signed16:
      // A 32-bit value gives its low half, as a 16-bit read of it would.
      if (auto n = Integer(value))
        return std::to_string(static_cast<int>(static_cast<std::int16_t>(*n)));
      return std::nullopt;
    case Form::FirstElement:
      if (value.type != WmiType::StringArray || value.texts.empty()) return std::nullopt;
      return value.texts.front();
  }
  return std::nullopt;
}

std::int64_t ReadDecimal64(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate the magnitude unsigned so that INT64_MIN stays reachable.
  constexpr std::uint64_t kLimitPositive = std::numeric_limits<std::int64_t>::max();
  const std::uint64_t limit = negative ? kLimitPositive + 1 : kLimitPositive;
  std::uint64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const auto digit = static_cast<std::uint64_t>(text[i] - '0');
    if (magnitude > (limit - digit) / 10) {
      magnitude = limit;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (!negative) return static_cast<std::int64_t>(magnitude);
  return magnitude == kLimitPositive + 1 ? std::numeric_limits<std::int64_t>::min()
                                         : -static_cast<std::int64_t>(magnitude);
}

std::string UpperCased(std::string text) {
  for (char& c : text) c = Upper(c);
  return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// The fixture format, one statement per line; '#' starts a comment line.
//
//   [Win32_Processor]                 a new instance of the class
//   Name = string "Intel \"P4\""      a property: string, with \" and \\ escapes
//   MaxClockSpeed = int32 2400        32-bit (decimal, negative or 0x hex; 4294967295 reads -1)
//   CurrentTimeZone = int16 -300      16-bit
//   DHCPEnabled = bool true           truth value (true reads -1)
//   IPAddress = strings "a" "b"       array of strings, possibly without elements
//   X = null | empty | other          VT_NULL, VT_EMPTY, a type no form reads
//   Y = string "x" hr 0x1             any value may carry the read's result (default 0)
//   Z = hresult 0x80041002            shorthand for: empty hr 0x80041002
//   !refuse Win32_DesktopMonitor 0x80041001   ExecQuery of the class fails so
//   !fail Win32_LogicalDisk after 1           Next fails after 1 instance
//   !hang Win32_SoundDevice after 0           Next never answers after 0 instances
//
// Properties not listed read as 0x80041002 (not found) with an empty value.
#include "doubles/WmiFixture.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// A cursor over one line.
class Line {
 public:
  explicit Line(std::string text) : text_(std::move(text)) {}

  void SkipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size();
  }
  // The next run of non-blank characters, stopping before '=' too.
  std::string Word() {
    SkipBlanks();
    const std::size_t start = at_;
    while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
           text_[at_] != '=')
      ++at_;
    return text_.substr(start, at_ - start);
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  std::optional<std::string> Quoted() {
    if (!Take('"')) return std::nullopt;
    std::string out;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return out;
      if (c == '\\' && at_ < text_.size()) {
        out += text_[at_++];
      } else {
        out += c;
      }
    }
    return std::nullopt;
  }

 private:
  std::string text_;
  std::size_t at_ = 0;
};

std::optional<long long> Number(const std::string& word) {
  if (word.empty()) return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(word.c_str(), &end, 0);
  if (*end != '\0') return std::nullopt;
  return value;
}

std::optional<HResult> ResultCode(const std::string& word) {
  const auto n = Number(word);
  if (!n || *n < -0x80000000LL || *n > 0xFFFFFFFFLL) return std::nullopt;
  return static_cast<HResult>(static_cast<std::uint32_t>(*n));
}

// `type value... [hr CODE]` after the '='.
std::optional<WmiValue> ParseValue(Line& line, std::string& error) {
  WmiValue value;
  value.result = hr::kOk;
  const std::string type = line.Word();
  if (type == "string") {
    auto text = line.Quoted();
    if (!text) return error = "expected a quoted string", std::nullopt;
    value.type = WmiType::String;
    value.text = *text;
  } else if (type == "strings") {
    value.type = WmiType::StringArray;
    while (auto text = line.Quoted()) value.texts.push_back(*text);
  } else if (type == "int32" || type == "int16") {
    const auto n = Number(line.Word());
    const bool wide = type == "int32";
    if (!n || *n < (wide ? -0x80000000LL : -0x8000LL) || *n > (wide ? 0xFFFFFFFFLL : 0xFFFFLL))
      return error = "expected a " + type + " number", std::nullopt;
    value.type = wide ? WmiType::Int32 : WmiType::Int16;
    value.number = wide ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*n))
                        : static_cast<std::int16_t>(static_cast<std::uint16_t>(*n));
  } else if (type == "bool") {
    const std::string word = line.Word();
    if (word != "true" && word != "false") return error = "expected true or false", std::nullopt;
    value.type = WmiType::Bool;
    value.number = word == "true" ? -1 : 0;
  } else if (type == "null") {
    value.type = WmiType::Null;
  } else if (type == "empty") {
    value.type = WmiType::Empty;
  } else if (type == "other") {
    value.type = WmiType::Other;
  } else if (type == "hresult") {
    const auto code = ResultCode(line.Word());
    if (!code) return error = "expected a result code", std::nullopt;
    value.type = WmiType::Empty;
    value.result = *code;
  } else {
    return error = "unknown type '" + type + "'", std::nullopt;
  }
  if (!line.AtEnd()) {
    if (line.Word() != "hr") return error = "unexpected text after the value", std::nullopt;
    const auto code = ResultCode(line.Word());
    if (!code) return error = "expected a result code after hr", std::nullopt;
    value.result = *code;
  }
  if (!line.AtEnd()) return error = "unexpected text after the value", std::nullopt;
  return value;
}

bool ParseDirective(Line& line, WmiFixture& fixture, std::string& error) {
  const std::string verb = line.Word();
  WmiFixtureBehaviour behaviour;
  behaviour.className = line.Word();
  if (behaviour.className.empty()) return error = "directive without a class", false;
  if (verb == "refuse") {
    const auto code = ResultCode(line.Word());
    if (!code || *code >= 0) return error = "expected a failure code", false;
    behaviour.refusal = *code;
  } else if (verb == "fail" || verb == "hang") {
    const auto count = line.Word() == "after" ? Number(line.Word()) : std::nullopt;
    if (!count || *count < 0) return error = "expected 'after N'", false;
    behaviour.stopAfter = static_cast<std::size_t>(*count);
    behaviour.stop = verb == "fail" ? WmiNext::Failed : WmiNext::TimedOut;
  } else {
    return error = "unknown directive '" + verb + "'", false;
  }
  if (!line.AtEnd()) return error = "unexpected text after the directive", false;
  fixture.behaviours.push_back(behaviour);
  return true;
}

bool ParseLine(const std::string& text, WmiFixture& fixture, std::string& error) {
  Line line(text);
  if (line.AtEnd() || line.Take('#')) return true;
  if (line.Take('!')) return ParseDirective(line, fixture, error);
  if (line.Take('[')) {
    std::string name = line.Word();
    if (name.empty() || name.back() != ']' || !line.AtEnd())
      return error = "expected [ClassName]", false;
    name.pop_back();
    fixture.instances.push_back({name, {}});
    return true;
  }
  const std::string property = line.Word();
  if (property.empty() || !line.Take('=')) return error = "expected Property = type value", false;
  if (fixture.instances.empty()) return error = "property before any [ClassName]", false;
  auto value = ParseValue(line, error);
  if (!value) return false;
  fixture.instances.back().properties.emplace_back(property, std::move(*value));
  return true;
}

}  // namespace

WmiValue WmiFixtureInstance::Get(const std::string& name) const {
  for (const auto& [property, value] : properties) {
    if (EqualsNoCase(property, name)) return value;
  }
  return WmiValue{};  // not found, empty
}

const WmiFixtureBehaviour* WmiFixture::BehaviourOf(const std::string& className) const {
  for (const WmiFixtureBehaviour& behaviour : behaviours) {
    if (EqualsNoCase(behaviour.className, className)) return &behaviour;
  }
  return nullptr;
}

bool ParseWmiFixture(const std::string& text, WmiFixture& fixture, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!ParseLine(line, fixture, error)) {
      error = "line " + std::to_string(number) + ": " + error;
      return false;
    }
  }
  return true;
}

bool LoadWmiFixture(const std::string& path, WmiFixture& fixture, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParseWmiFixture(text.str(), fixture, error);
}

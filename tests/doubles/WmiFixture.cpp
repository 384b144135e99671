#include "doubles/WmiFixture.h"

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "wmi/PropertyForms.h"

namespace {

std::optional<long long> Number(const std::string& word, long long low, long long high) {
  char* end = nullptr;
  const long long value = std::strtoll(word.c_str(), &end, 0);
  if (word.empty() || *end != '\0' || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<HResult> ResultCode(const std::string& word) {
  const auto n = Number(word, -0x80000000LL, 0xFFFFFFFFLL);
  if (!n) return std::nullopt;
  return static_cast<HResult>(static_cast<std::uint32_t>(*n));
}

// `type value... [hr CODE]`, after the '='.
std::optional<WmiValue> ParseValue(std::istringstream& in, std::string& error) {
  WmiValue value;
  value.result = hr::kOk;
  std::string type, word;
  in >> type;
  if (type == "string" || type == "strings") {
    const bool one = type == "string";
    value.type = one ? WmiType::String : WmiType::StringArray;
    for (std::string text; (in >> std::ws).peek() == '"' && in >> std::quoted(text);) {
      value.texts.push_back(text);
      if (one) break;
    }
    if (one && value.texts.empty()) return error = "expected a quoted string", std::nullopt;
    if (one) value.text = value.texts.front(), value.texts.clear();
  } else if (type == "int32" || type == "int16") {
    const bool wide = type == "int32";
    const auto n =
        in >> word ? Number(word, wide ? -0x80000000LL : -0x8000LL, wide ? 0xFFFFFFFFLL : 0xFFFFLL)
                   : std::nullopt;
    if (!n) return error = "expected a " + type + " number", std::nullopt;
    value.type = wide ? WmiType::Int32 : WmiType::Int16;
    value.number = wide ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*n))
                        : static_cast<std::int16_t>(static_cast<std::uint16_t>(*n));
  } else if (type == "bool" && in >> word && (word == "true" || word == "false")) {
    value.type = WmiType::Bool;
    value.number = word == "true" ? -1 : 0;
  } else if (type == "null" || type == "empty" || type == "other") {
    value.type = type == "null" ? WmiType::Null : type == "empty" ? WmiType::Empty : WmiType::Other;
  } else if (type == "hresult" && in >> word && ResultCode(word)) {
    value.result = *ResultCode(word);
  } else {
    return error = "bad value of type '" + type + "'", std::nullopt;
  }
  if (in >> word) {
    const auto code = word == "hr" && in >> word ? ResultCode(word) : std::nullopt;
    if (!code) return error = "expected 'hr CODE' after the value", std::nullopt;
    value.result = *code;
  }
  if (in >> word) return error = "unexpected text after the value", std::nullopt;
  return value;
}

bool ParseDirective(std::istringstream& in, WmiFixture& fixture, std::string& error) {
  std::string verb, word;
  WmiFixtureBehaviour behaviour;
  in >> verb >> behaviour.className >> word;
  if (verb == "refuse" && ResultCode(word) && *ResultCode(word) < 0) {
    behaviour.refusal = *ResultCode(word);
  } else if ((verb == "fail" || verb == "hang") && word == "after" && in >> word &&
             Number(word, 0, 1 << 20)) {
    behaviour.stopAfter = static_cast<std::size_t>(*Number(word, 0, 1 << 20));
    behaviour.stop = verb == "fail" ? WmiNext::Failed : WmiNext::TimedOut;
  } else {
    return error = "expected !refuse CLASS CODE, !fail or !hang CLASS after N", false;
  }
  if (in >> word) return error = "unexpected text after the directive", false;
  fixture.behaviours.push_back(behaviour);
  return true;
}

bool ParseLine(const std::string& line, WmiFixture& fixture, std::string& error) {
  std::istringstream in(line);
  std::string word;
  if (!(in >> word) || word[0] == '#') return true;
  if (word[0] == '!') {
    std::istringstream directive(line.substr(line.find('!') + 1));
    return ParseDirective(directive, fixture, error);
  }
  if (word.front() == '[') {
    if (word.size() < 3 || word.back() != ']' || in >> word)
      return error = "expected [Class]", false;
    fixture.instances.push_back({word.substr(1, word.size() - 2), {}});
    return true;
  }
  std::string equals;
  if (!(in >> equals) || equals != "=") return error = "expected Property = type value", false;
  if (fixture.instances.empty()) return error = "property before any [Class]", false;
  auto value = ParseValue(in, error);
  if (!value) return false;
  fixture.instances.back().properties.emplace_back(word, std::move(*value));
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
  if (!file) return error = "cannot read " + path, false;
  std::ostringstream text;
  text << file.rdbuf();
  return ParseWmiFixture(text.str(), fixture, error);
}

#include "doubles/FakeRegistry.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr long kInvalidHandle = 6;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr const char* kHive = "HKEY_LOCAL_MACHINE";

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Registry names compare without regard to ASCII letter case.
struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
      const char x = Upper(a[i]), y = Upper(b[i]);
      if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
  }
};

bool SplitPath(const std::string& path, std::vector<std::string>& parts) {
  parts.clear();
  if (path.empty()) return true;
  std::string part;
  for (const char c : path) {
    if (c == '\\') {
      if (part.empty()) return false;
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (part.empty()) return false;
  parts.push_back(part);
  return true;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Reads a quoted text starting at s[pos] == '"'; pos ends after the quote.
bool ParseQuoted(const std::string& s, std::size_t& pos, std::string& out) {
  out.clear();
  if (pos >= s.size() || s[pos] != '"') return false;
  for (++pos; pos < s.size(); ++pos) {
    const char c = s[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < s.size() && (s[pos + 1] == '\\' || s[pos + 1] == '"')) ++pos;
    out += s[pos];
  }
  return false;
}

bool ParseHexBytes(const std::string& s, std::vector<std::uint8_t>& out) {
  out.clear();
  std::string digits;
  auto flush = [&]() {
    if (digits.empty()) return false;
    if (digits.size() > 2) return false;
    out.push_back(static_cast<std::uint8_t>(std::stoul(digits, nullptr, 16)));
    digits.clear();
    return true;
  };
  for (const char c : s) {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if (c == ',') {
      if (!flush()) return false;
    } else if (!std::isspace(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return digits.empty() || flush();
}

// True when the line ends in a backslash outside any quoted text.
bool Continues(const std::string& line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && quoted) {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    }
  }
  const std::string t = Trim(line);
  return !quoted && !t.empty() && t.back() == '\\';
}

}  // namespace

struct FakeRegistry::Node {
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  std::map<std::string, std::unique_ptr<Node>, CaseLess> children;
  std::map<std::string, Value, CaseLess> values;
  bool denyRead = false;
  bool failInfo = false;
};

FakeRegistry::FakeRegistry() : root_(std::make_unique<Node>()) {}
FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Find(const std::string& path) const {
  std::vector<std::string> parts;
  if (!SplitPath(path, parts)) return nullptr;
  Node* node = root_.get();
  for (const std::string& part : parts) {
    const auto it = node->children.find(part);
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

FakeRegistry::Node* FakeRegistry::Create(const std::string& path) {
  std::vector<std::string> parts;
  if (!SplitPath(path, parts)) return nullptr;
  Node* node = root_.get();
  for (const std::string& part : parts) {
    auto& child = node->children[part];
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
  return node;
}

void FakeRegistry::Remove(const std::string& path) {
  std::vector<std::string> parts;
  if (!SplitPath(path, parts) || parts.empty()) return;
  const std::string leaf = parts.back();
  parts.pop_back();
  Node* parent = root_.get();
  for (const std::string& part : parts) {
    const auto it = parent->children.find(part);
    if (it == parent->children.end()) return;
    parent = it->second.get();
  }
  const auto it = parent->children.find(leaf);
  if (it == parent->children.end()) return;
  // Handles on the removed subtree now name no key, as after a deletion.
  std::vector<const Node*> gone{it->second.get()};
  for (std::size_t i = 0; i < gone.size(); ++i)
    for (const auto& child : gone[i]->children) gone.push_back(child.second.get());
  for (auto h = handles_.begin(); h != handles_.end();) {
    bool removed = false;
    for (const Node* node : gone) removed = removed || h->second == node;
    h = removed ? handles_.erase(h) : std::next(h);
  }
  parent->children.erase(it);
}

void FakeRegistry::SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
  if (Node* node = Create(path)) node->values[name] = {type, data};
}

void FakeRegistry::SetText(const std::string& path, const std::string& name,
                           const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  SetValue(path, name, kRegSz, data);
}

bool FakeRegistry::LoadFile(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  return LoadText(text.str(), error);
}

bool FakeRegistry::LoadText(const std::string& text, std::string* error) {
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  bool sawHeader = false;
  Node* current = nullptr;  // null: outside any section, or another hive
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(lineNo) + ": " + why;
    return false;
  };
  while (std::getline(in, raw)) {
    ++lineNo;
    std::string line = raw;
    while (Continues(line)) {
      std::string next;
      if (!std::getline(in, next)) return fail("continuation at end of text");
      ++lineNo;
      line = Trim(line);
      line.pop_back();
      line += Trim(next);
    }
    line = Trim(line);
    if (line.empty()) continue;
    if (!sawHeader) {
      if (line != "REGEDIT4" && line != "Windows Registry Editor Version 5.00")
        return fail("missing header");
      sawHeader = true;
      continue;
    }
    if (line[0] == ';') {
      if (current && line == ";@deny-read") current->denyRead = true;
      if (current && line == ";@fail-info") current->failInfo = true;
      continue;
    }
    if (line[0] == '[') {
      if (line.back() != ']') return fail("unterminated key name");
      std::string name = line.substr(1, line.size() - 2);
      const bool remove = !name.empty() && name[0] == '-';
      if (remove) name.erase(0, 1);
      const std::size_t hiveLength = std::strlen(kHive);
      const bool inHive = name.compare(0, hiveLength, kHive) == 0 &&
                          (name.size() == hiveLength || name[hiveLength] == '\\');
      current = nullptr;
      if (!inHive) continue;
      const std::string path = name.size() > hiveLength ? name.substr(hiveLength + 1) : "";
      if (remove) {
        Remove(path);
      } else if (!(current = Create(path))) {
        return fail("bad key path");
      }
      continue;
    }
    std::size_t pos = 0;
    std::string valueName;
    if (line[0] == '@') {
      pos = 1;
    } else if (!ParseQuoted(line, pos, valueName)) {
      return fail("bad value name");
    }
    if (pos >= line.size() || line[pos] != '=') return fail("missing =");
    const std::string data = Trim(line.substr(pos + 1));
    if (!current) continue;
    Node::Value value;
    if (data == "-") {
      current->values.erase(valueName);
      continue;
    } else if (!data.empty() && data[0] == '"') {
      std::size_t at = 0;
      std::string textValue;
      if (!ParseQuoted(data, at, textValue) || at != data.size()) return fail("bad text");
      value.type = kRegSz;
      value.data.assign(textValue.begin(), textValue.end());
      value.data.push_back(0);
    } else if (data.rfind("dword:", 0) == 0) {
      const std::string digits = data.substr(6);
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return fail("bad dword");
      const auto number = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
      value.type = kRegDword;
      for (int i = 0; i < 4; ++i)
        value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    } else if (data.rfind("hex:", 0) == 0) {
      value.type = kRegBinary;
      if (!ParseHexBytes(data.substr(4), value.data)) return fail("bad hex bytes");
    } else if (data.rfind("hex(", 0) == 0) {
      const std::size_t close = data.find("):");
      if (close == std::string::npos || close == 4) return fail("bad hex type");
      const std::string typeDigits = data.substr(4, close - 4);
      if (typeDigits.size() > 8 ||
          typeDigits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return fail("bad hex type");
      value.type = static_cast<std::uint32_t>(std::stoul(typeDigits, nullptr, 16));
      if (!ParseHexBytes(data.substr(close + 2), value.data)) return fail("bad hex bytes");
    } else {
      return fail("unknown value data");
    }
    current->values[valueName] = std::move(value);
  }
  if (!sawHeader) return fail("missing header");
  return true;
}

long FakeRegistry::OpenKey(const std::string& path, Key& key) {
  openedPaths.push_back(path);
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  if (node->denyRead) return kAccessDenied;
  const Key handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = node;
  key = handle;
  return kSuccess;
}

long FakeRegistry::QueryValue(Key key, const std::string& name, void* data, std::uint32_t& size,
                              std::uint32_t& type) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kInvalidHandle;
  const auto it = handle->second->values.find(name);
  if (it == handle->second->values.end()) return kFileNotFound;
  const auto needed = static_cast<std::uint32_t>(it->second.data.size());
  if (data && size < needed) {
    size = needed;
    return kMoreData;
  }
  if (data && needed) std::memcpy(data, it->second.data.data(), needed);
  size = needed;
  type = it->second.type;
  return kSuccess;
}

long FakeRegistry::QuerySubKeyCount(Key key, std::uint32_t& count) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kInvalidHandle;
  if (handle->second->failInfo) return kAccessDenied;
  count = static_cast<std::uint32_t>(handle->second->children.size());
  return kSuccess;
}

long FakeRegistry::EnumSubKey(Key key, std::uint32_t index, char* name, std::uint32_t& size) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kInvalidHandle;
  const auto& children = handle->second->children;
  if (index >= children.size()) return kNoMoreItems;
  auto it = children.begin();
  std::advance(it, index);
  const std::string& found = it->first;
  if (size <= found.size()) return kMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  size = static_cast<std::uint32_t>(found.size());
  return kSuccess;
}

void FakeRegistry::CloseKey(Key key) {
  if (handles_.erase(key) == 0) ++badCloses;
}

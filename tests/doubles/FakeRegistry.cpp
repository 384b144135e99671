#include "doubles/FakeRegistry.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

constexpr long kInvalidHandle = 6;
constexpr char kHive[] = "HKEY_LOCAL_MACHINE";

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t\r\n");
  return first == s.npos ? "" : s.substr(first, s.find_last_not_of(" \t\r\n") + 1 - first);
}

// The quoted text opening at s[at]; `at` ends after its closing quote.
bool Unquote(const std::string& s, std::size_t& at, std::string& out) {
  for (++at; at < s.size() && s[at] != '"'; ++at) {
    if (s[at] == '\\' && at + 1 < s.size() && (s[at + 1] == '\\' || s[at + 1] == '"')) ++at;
    out += s[at];
  }
  return at++ < s.size();
}

// One to `digits` hex digits.
std::optional<std::uint32_t> Hex(const std::string& text, std::size_t digits) {
  const std::string t = Trim(text);
  if (t.empty() || t.size() > digits || t.find_first_not_of("0123456789abcdefABCDEF") != t.npos)
    return std::nullopt;
  return static_cast<std::uint32_t>(std::stoul(t, nullptr, 16));
}

// A quoted text, "dword:0000002a", "hex:41,42" or "hex(7):41,00,00".
bool ParseData(const std::string& data, std::uint32_t& type, std::vector<std::uint8_t>& bytes) {
  std::string text;
  std::size_t at = 0;
  if (data[0] == '"') {
    type = 1;  // REG_SZ
    const bool closed = Unquote(data, at, text);
    bytes.assign(text.c_str(), text.c_str() + text.size() + 1);
    return closed && at == data.size();
  }
  const std::size_t colon = data.find(':');
  const std::string kind = data.substr(0, colon);
  const std::optional<std::uint32_t> kindType = kind == "dword" ? 4
                                                : kind == "hex" ? 3
                                                                : std::optional<std::uint32_t>();
  const auto found = kind.rfind("hex(", 0) == 0 && kind.back() == ')'
                         ? Hex(kind.substr(4, kind.size() - 5), 8)
                         : kindType;
  if (colon == data.npos || !found) return false;
  type = *found;
  std::istringstream rest(data.substr(colon + 1));
  if (type == 4) {
    const auto number = Hex(rest.str(), 8);
    for (int i = 0; number && i < 4; ++i) bytes.push_back((*number >> (8 * i)) & 0xFF);
    return number.has_value();
  }
  for (std::string byte; std::getline(rest, byte, ',');) {
    const auto number = Hex(byte, 2);
    if (!number) return false;
    bytes.push_back(static_cast<std::uint8_t>(*number));
  }
  return true;
}

}  // namespace

bool FakeRegistry::LoadFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  if (!file && error) *error = "cannot open " + path;
  return file && LoadText(text.str(), error);
}

bool FakeRegistry::LoadText(const std::string& text, std::string* error) {
  std::istringstream in(text);
  std::string line, next;
  bool header = false;
  Node* key = nullptr;  // null: outside any section, or in another hive
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trim(line);
    while (line.size() > 1 && line.back() == '\\' && line[0] != '[' && std::getline(in, next)) {
      line = Trim(line.substr(0, line.size() - 1)) + Trim(next);
      ++number;
    }
    if (!ReadLine(line, header, key)) {
      if (error) *error = "line " + std::to_string(number) + ": " + line;
      return false;
    }
  }
  if (!header && error) *error = "missing header";
  return header;
}

bool FakeRegistry::ReadLine(const std::string& line, bool& header, Node*& key) {
  if (line.empty()) return true;
  if (!header) return header = line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
  if (line[0] == '[') return ReadSection(line, key);
  if (line[0] == ';') {
    if (key && line == ";@deny-read") key->denyRead = true;
    if (key && line == ";@fail-info") key->failInfo = true;
    return true;
  }
  std::string name;
  std::size_t at = line[0] == '@' ? 1 : 0;
  if ((at == 0 && (line[0] != '"' || !Unquote(line, at, name))) || line[at] != '=') return false;
  const std::string data = Trim(line.substr(at + 1));
  Value value;
  if (!ParseData(data, value.type, value.data)) return false;
  if (key) key->values[Upper(name)] = value;
  return true;
}

bool FakeRegistry::ReadSection(const std::string& line, Node*& key) {
  const std::string path = line.substr(1, line.size() - 2);
  const std::string hive = Upper(path.substr(0, sizeof kHive));
  key = nullptr;
  if (line.back() != ']' || line[1] == '-') return false;
  if (hive != kHive && hive != std::string(kHive) + "\\") return true;  // another hive
  const std::string relative = path.substr(hive.size()), upper = Upper(relative);
  if (relative.find("\\\\") != relative.npos || (!relative.empty() && relative.back() == '\\'))
    return false;
  for (std::size_t end = 0; end != relative.npos;) {  // the key and every key above it
    end = relative.find('\\', end + 1);
    const std::string part = relative.substr(0, end);
    key = &keys_[upper.substr(0, end)];
    if (key->name.empty()) key->name = part.substr(part.rfind('\\') + 1);
  }
  return true;
}

FakeRegistry::Node* FakeRegistry::Find(Key key) {
  const auto handle = handles_.find(key);
  const auto it = handle == handles_.end() ? keys_.end() : keys_.find(handle->second);
  return it == keys_.end() ? nullptr : &it->second;
}

std::vector<const FakeRegistry::Node*> FakeRegistry::Children(const std::string& path) const {
  std::vector<const Node*> children;
  const std::string prefix = path.empty() ? "" : path + "\\";
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.rfind(prefix, 0) == 0;
       ++it) {
    if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == path.npos)
      children.push_back(&it->second);
  }
  return children;
}

long FakeRegistry::OpenKey(const std::string& path, Key& key) {
  openedPaths.push_back(path);
  const auto it = keys_.find(Upper(path));
  if (it == keys_.end()) return kFileNotFound;
  if (it->second.denyRead) return kAccessDenied;
  key = nextHandle_ += 4;
  handles_[key] = it->first;
  return kSuccess;
}

long FakeRegistry::QueryValue(Key key, const std::string& name, void* data, std::uint32_t& size,
                              std::uint32_t& type) {
  const Node* node = Find(key);
  if (!node) return kInvalidHandle;
  const auto it = node->values.find(Upper(name));
  if (it == node->values.end()) return kFileNotFound;
  const auto needed = static_cast<std::uint32_t>(it->second.data.size());
  if (data && size < needed) return size = needed, kMoreData;
  if (data && needed) std::memcpy(data, it->second.data.data(), needed);
  size = needed;
  type = it->second.type;
  return kSuccess;
}

long FakeRegistry::QuerySubKeyCount(Key key, std::uint32_t& count) {
  const Node* node = Find(key);
  if (!node) return kInvalidHandle;
  if (node->failInfo) return kAccessDenied;
  count = static_cast<std::uint32_t>(Children(handles_[key]).size());
  return kSuccess;
}

long FakeRegistry::EnumSubKey(Key key, std::uint32_t index, char* name, std::uint32_t& size) {
  if (!Find(key)) return kInvalidHandle;
  const auto children = Children(handles_[key]);
  if (index >= children.size()) return kNoMoreItems;
  const std::string& found = children[index]->name;
  if (size <= found.size()) return kMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  size = static_cast<std::uint32_t>(found.size());
  return kSuccess;
}

void FakeRegistry::CloseKey(Key key) { badCloses += handles_.erase(key) == 0; }

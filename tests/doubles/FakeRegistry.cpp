#include "doubles/FakeRegistry.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
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
  std::istringstream in(line);
  std::string name, kind, text;
  char comma = ',';
  if (line[0] == '"') in >> std::quoted(name);
  if ((line[0] == '@' && in.get() != '@') || in.get() != '=') return false;
  Value value;
  if ((in >> std::ws).peek() == '"' && line.back() == '"') {  // a text
    in >> std::quoted(text);
    value = {1, std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1)};
  } else if (std::getline(in, kind, ':') && kind == "dword") {  // 8 hex digits, little-endian
    std::uint32_t number = 0;
    if (!(in >> std::hex >> number)) return false;
    value.type = 4;
    for (int i = 0; i < 4; ++i) value.data.push_back((number >> (8 * i)) & 0xFF);
  } else if (kind == "hex" || (kind.rfind("hex(", 0) == 0 && kind.back() == ')')) {
    value.type =
        kind == "hex" ? 3 : static_cast<std::uint32_t>(std::strtoul(kind.c_str() + 4, nullptr, 16));
    for (unsigned byte = 0; comma == ',' && in >> std::hex >> byte; in >> comma) {
      if (byte > 0xFF) return false;
      value.data.push_back(static_cast<std::uint8_t>(byte));
    }
  } else {
    return false;
  }
  if (comma != ',' || !(in >> std::ws).eof()) return false;
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

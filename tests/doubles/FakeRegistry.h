#pragma once
// An in-memory registry under HKEY_LOCAL_MACHINE, loaded from the text of
// .reg files, so that one fixture feeds the host tests and `reg import`.
//
// Accepted: the "REGEDIT4" and "Windows Registry Editor Version 5.00"
// headers; [HKEY_LOCAL_MACHINE\...] sections (other hives are skipped);
// "name"= and @= with a quoted text (\\ and \" escapes), dword:, hex: and
// hex(N): (bytes stored as written: in ASCII files hex(2) and hex(7) hold
// ANSI characters); lines joined by a trailing backslash; ; comments.
// Deletions are not.
//
// Two marker comments, placed inside a key's section, give faults that a
// fixture cannot otherwise express (regedit ignores them as comments):
//   ;@deny-read   opening the key fails with access denied (5)
//   ;@fail-info   counting the key's subkeys fails with access denied (5)
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "registry/Registry.h"

class FakeRegistry final : public IRegistry {
 public:
  // Adds the text's keys and values to the tree. On malformed text returns
  // false with the line number in `error`; what was read before stays.
  bool LoadText(const std::string& text, std::string* error = nullptr);
  bool LoadFile(const std::string& path, std::string* error = nullptr);

  // Handles opened and not yet closed, and closes of unknown handles.
  std::size_t OpenHandles() const { return handles_.size(); }
  int badCloses = 0;

  long OpenKey(const std::string& path, Key& key) override;
  long QueryValue(Key key, const std::string& name, void* data, std::uint32_t& size,
                  std::uint32_t& type) override;
  long QuerySubKeyCount(Key key, std::uint32_t& count) override;
  long EnumSubKey(Key key, std::uint32_t index, char* name, std::uint32_t& size) override;
  void CloseKey(Key key) override;

 private:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  struct Node {
    std::string name;                     // as first written
    std::map<std::string, Value> values;  // by upper-cased name
    bool denyRead = false;
    bool failInfo = false;
  };
  bool ReadLine(const std::string& line, bool& header, Node*& key);
  bool ReadSection(const std::string& line, Node*& key);
  Node* Find(Key key);
  std::vector<const Node*> Children(const std::string& path) const;

  // Keys by upper-cased path, so names compare without regard to case and
  // the subkeys of a key come in sorted order.
  std::map<std::string, Node> keys_{{"", Node{}}};
  std::map<Key, std::string> handles_;
  Key nextHandle_ = 0x1000;
};

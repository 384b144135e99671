#pragma once
// WMI answers as text: instances as typed property bags, plus how a class's
// queries misbehave. The host double and the test WMI provider of the Wine
// suites both answer from these files.
//
// One statement per line; '#' starts a comment line; words are separated
// by blanks:
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
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "wmi/WmiService.h"

struct WmiFixtureInstance {
  std::string className;
  std::vector<std::pair<std::string, WmiValue>> properties;  // in file order

  // The property read: case-insensitive by name; an absent property reads
  // as WBEM_E_NOT_FOUND with an empty value, as WMI answers it.
  WmiValue Get(const std::string& name) const;
};

// How the queries of one class end.
struct WmiFixtureBehaviour {
  std::string className;
  HResult refusal = hr::kOk;             // non-zero: ExecQuery fails with it
  std::optional<std::size_t> stopAfter;  // instances delivered before the stop
  WmiNext stop = WmiNext::End;           // Failed, or TimedOut for a provider that never answers
};

struct WmiFixture {
  std::vector<WmiFixtureInstance> instances;
  std::vector<WmiFixtureBehaviour> behaviours;

  const WmiFixtureBehaviour* BehaviourOf(const std::string& className) const;
};

// Adds the text's statements to `fixture`; on a malformed line returns
// false and names it in `error` ("line N: ...").
bool ParseWmiFixture(const std::string& text, WmiFixture& fixture, std::string& error);
bool LoadWmiFixture(const std::string& path, WmiFixture& fixture, std::string& error);

#pragma once
// WMI answers as text: instances as typed property bags, plus how a class's
// queries misbehave. Portable so that the same files can feed any double.
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

// Parses the text; on a malformed line returns false and names it in
// `error` ("line N: ...").
bool ParseWmiFixture(const std::string& text, WmiFixture& fixture, std::string& error);
bool LoadWmiFixture(const std::string& path, WmiFixture& fixture, std::string& error);

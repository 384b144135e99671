// WMI fixture text: parsing never crashes, and every instance it yields
// answers reads of the names it holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "doubles/WmiFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WmiFixture fixture;
  std::string error;
  if (!ParseWmiFixture(std::string(reinterpret_cast<const char*>(data), size), fixture, error))
    return 0;
  for (const WmiFixtureInstance& instance : fixture.instances) {
    for (const auto& property : instance.properties) instance.Get(property.first);
    instance.Get("");
    fixture.BehaviourOf(instance.className);
  }
  return 0;
}

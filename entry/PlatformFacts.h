#pragma once
#include <cstdint>

// What the run driver learns about the platform during the fallback step
// and hands to the registry walks.
struct PlatformFacts {
  std::int32_t OsEditionCode = 0;  // 3000..3028, 0 when none was recognised
  std::int32_t cdromLetterCount = 0;
  char cdromLetters[26] = {};
};

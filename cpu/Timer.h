#pragma once
#include <cstdint>

// The system's millisecond timer (timeGetTime): wraps after 2^32 ms.
class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual std::uint32_t Milliseconds() = 0;
};

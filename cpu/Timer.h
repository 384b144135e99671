#pragma once
#include <cstdint>

// The system's millisecond timer (timeGetTime): wraps after 2^32 ms.
class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual std::uint32_t Milliseconds() = 0;
  // timeBeginPeriod/timeEndPeriod: the timer's resolution raised to `ms`
  // milliseconds, and restored. BeginPeriod is true when it was granted,
  // and only then must EndPeriod follow. A timer whose resolution is fixed
  // keeps these defaults.
  virtual bool BeginPeriod(std::uint32_t /*ms*/) { return false; }
  virtual void EndPeriod(std::uint32_t /*ms*/) {}
};

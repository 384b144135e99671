#pragma once
#include "cpu/Timer.h"
#include "cpu/X86Processor.h"

// The real processor; port access only in the 9x family, where a process
// may use IN, OUT and CLI.
class WindowsProcessor final : public X86Processor {
 public:
  bool HasIoPrivilege() override;
};

// timeGetTime, timeBeginPeriod and timeEndPeriod.
class WindowsTimer final : public ITimer {
 public:
  std::uint32_t Milliseconds() override;
  bool BeginPeriod(std::uint32_t ms) override;
  void EndPeriod(std::uint32_t ms) override;
};

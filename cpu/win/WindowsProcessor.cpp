#include "cpu/win/WindowsProcessor.h"

#include "platform/win/Windows.h"
// After the Windows headers, which it needs.
#include <mmsystem.h>

bool WindowsProcessor::HasIoPrivilege() {
#if defined(__i386__)
  return (::GetVersion() & 0x80000000u) != 0;
#else
  return false;  // no 9x family on x86-64
#endif
}

std::uint32_t WindowsTimer::Milliseconds() { return ::timeGetTime(); }

bool WindowsTimer::BeginPeriod(std::uint32_t ms) { return ::timeBeginPeriod(ms) == TIMERR_NOERROR; }

void WindowsTimer::EndPeriod(std::uint32_t ms) { ::timeEndPeriod(ms); }

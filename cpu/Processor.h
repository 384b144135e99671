#pragma once
#include <cstdint>

// The four registers one CPUID leaf returns.
struct CpuidRegisters {
  std::uint32_t eax = 0;
  std::uint32_t ebx = 0;
  std::uint32_t ecx = 0;
  std::uint32_t edx = 0;
};

// What one programmable-interval-timer run of the division loop left in
// channel 2: the OUT line (status bit 7) and the latched count.
struct PitReading {
  bool out = false;
  std::uint16_t count = 0xFFFF;
};

// The processor's own instructions and the ports of the old Cyrix parts.
// Every operation leaves EFLAGS as it found it. The port operations need
// I/O privilege and may only be called when HasIoPrivilege() is true.
class IProcessor {
 public:
  virtual ~IProcessor() = default;

  // Whether EFLAGS bit 21 (ID) can be inverted: CPUID is available.
  virtual bool CanToggleIdFlag() = 0;
  // Whether EFLAGS bit 18 (alignment check) can be inverted: a 486 or later.
  virtual bool CanToggleAlignmentFlag() = 0;
  // Writes `nibble` into EFLAGS bits 12 to 15 and returns the bits read
  // back (0 to 15).
  virtual unsigned FlagsHighNibbleAfterWrite(unsigned nibble) = 0;
  // SAHF with AH = 0, 8-bit DIV of 5 by 2, LAHF: true when the flags byte
  // is exactly 0x02, that is, DIV left the flags alone.
  virtual bool DivisionKeepsFlags() = 0;

  // CPUID for a leaf (subleaf 0). Only valid when CanToggleIdFlag().
  virtual CpuidRegisters Cpuid(std::uint32_t leaf) = 0;
  // RDTSC, all 64 bits.
  virtual std::uint64_t ReadTimeStampCounter() = 0;
  // SMSW; bit 0 is set in protected mode.
  virtual std::uint16_t MachineStatusWord() = 0;

  // Whether this process may use IN, OUT and CLI (the 9x family).
  virtual bool HasIoPrivilege() = 0;
  // Configuration registers: index to port 0x22, data at port 0x23, with
  // interrupts disabled.
  virtual std::uint8_t ReadConfigRegister(std::uint8_t index) = 0;
  virtual void WriteConfigRegister(std::uint8_t index, std::uint8_t value) = 0;
  // One timing run with interrupts disabled: PIT channel 2 in mode 0 from
  // 0xFFFF, gated around `iterations` passes of five IDIVs by 1 and one
  // LOOP, latched with read-back 0xC8, then restored (0xB6, count 0).
  virtual PitReading TimeDivisionLoop(std::uint32_t iterations) = 0;
};

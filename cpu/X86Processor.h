#pragma once
#include "cpu/Processor.h"

// The real instructions, for 32-bit x86 and x86-64. Without I/O privilege
// (the default) the port operations do nothing: reads give 0xFF and a
// timing run reports no elapsed time.
class X86Processor : public IProcessor {
 public:
  bool CanToggleIdFlag() override;
  bool CanToggleAlignmentFlag() override;
  unsigned FlagsHighNibbleAfterWrite(unsigned nibble) override;
  bool DivisionKeepsFlags() override;
  CpuidRegisters Cpuid(std::uint32_t leaf) override;
  std::uint64_t ReadTimeStampCounter() override;
  std::uint16_t MachineStatusWord() override;
  bool HasIoPrivilege() override { return false; }
  std::uint8_t ReadConfigRegister(std::uint8_t index) override;
  void WriteConfigRegister(std::uint8_t index, std::uint8_t value) override;
  PitReading TimeDivisionLoop(std::uint32_t iterations) override;
};

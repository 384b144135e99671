#pragma once
// A processor that answers from a recording: CPUID leaves as register
// values (missing leaves read as zeros), the EFLAGS tests, the time-stamp
// counter and the Cyrix ports as given.
//
// Recording text, one directive a line, '#' starts a comment:
//   cpuid LEAF EAX EBX ECX EDX       registers in hex
//   vendor MAXLEAF "GenuineIntel"    leaf 0 from a vendor string
//   brand "text"                     leaves 0x80000002..4 from up to 48 chars
//   no-cpuid                         the ID flag cannot be inverted
//   alignment-flag 0|1               default 1
//   division-keeps-flags 0|1         default 0
//   flags-nibble X                   EFLAGS bits 12-15 always read back as X
//   io-privilege 0|1                 default 0
//   config-register IDX VALUE [writable]
//   pit ITERATIONS OUT COUNT         one timing run's reading
//   msw VALUE                        default 1 (protected mode)
//   tsc-step N                       counter advance per read (default 0)
//   tsc-reads V...                   counter readings, then tsc-step
//   registry-name "text"             the registry's processor name
//   expect "text"                    the expected description
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cpu/Processor.h"

class ScriptedProcessor final : public IProcessor {
 public:
  std::map<std::uint32_t, CpuidRegisters> leaves;
  bool idFlag = true;
  bool alignmentFlag = true;
  bool divisionKeepsFlags = false;
  std::optional<unsigned> fixedHighNibble;
  bool ioPrivilege = false;
  std::map<std::uint8_t, std::uint8_t> configRegisters;
  std::set<std::uint8_t> writableRegisters;
  std::map<std::uint32_t, PitReading> pitReadings;
  std::uint16_t msw = 1;
  std::vector<std::uint64_t> tscReads;
  std::uint64_t tscStep = 0;

  // What the code under test did.
  int cpuidCalls = 0;
  int tscCalls = 0;
  int portCalls = 0;

  void SetVendor(std::uint32_t maxLeaf, const std::string& vendor);
  void SetBrand(const std::string& brand);

  bool CanToggleIdFlag() override { return idFlag; }
  bool CanToggleAlignmentFlag() override { return alignmentFlag; }
  unsigned FlagsHighNibbleAfterWrite(unsigned nibble) override {
    return fixedHighNibble ? *fixedHighNibble : (nibble & 0xFu);
  }
  bool DivisionKeepsFlags() override { return divisionKeepsFlags; }
  CpuidRegisters Cpuid(std::uint32_t leaf) override;
  std::uint64_t ReadTimeStampCounter() override;
  std::uint16_t MachineStatusWord() override { return msw; }
  bool HasIoPrivilege() override { return ioPrivilege; }
  std::uint8_t ReadConfigRegister(std::uint8_t index) override;
  void WriteConfigRegister(std::uint8_t index, std::uint8_t value) override;
  PitReading TimeDivisionLoop(std::uint32_t iterations) override;

 private:
  std::size_t tscIndex_ = 0;
  std::uint64_t tscLast_ = 0;
};

struct RecordedProcessor {
  ScriptedProcessor cpu;
  std::optional<std::string> registryName;
  std::string expected;
};

// Parses a recording; false with the line number and cause in `error`.
bool LoadRecording(const std::string& text, RecordedProcessor& out, std::string* error);
bool LoadRecordingFile(const std::string& path, RecordedProcessor& out, std::string* error);

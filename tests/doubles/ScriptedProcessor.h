#pragma once
// A processor that answers from a recording: CPUID leaves as register
// values (missing leaves read as zeros), the EFLAGS tests, the time-stamp
// counter and the Cyrix ports as given. It counts as a violation every
// CPUID without the ID flag, RDTSC on a part that does not report the
// counter, and port access without I/O privilege.
//
// Recording text, one directive a line or several separated by ';', '#'
// starts a comment line:
//   cpuid LEAF EAX EBX ECX EDX       registers in hex
//   vendor MAXLEAF "GenuineIntel"    leaf 0 from a vendor string
//   brand "text"                     leaves 0x80000002..4 from up to 48 chars
//   no-cpuid                         the ID flag cannot be inverted
//   alignment-flag 0|1               default 1
//   division-keeps-flags 0|1         default 0
//   flags-nibble X                   EFLAGS bits 12-15 always read back as X
//   io-privilege 0|1                 default 0
//   config-register IDX VALUE [writable]
//   pit ITERATIONS OUT COUNT...      timing runs' readings (hex counts), in turn
//   msw VALUE                        default 1 (protected mode)
//   tsc-step N                       counter advance per read (default 0)
//   tsc-reads V...                   counter readings, then tsc-step
//   timer-start MS                   the millisecond timer's first reading (hex)
//   registry-name "text"             the registry's processor name
//   expect "text"                    the expected description
// A line with "expect" is one case: its own directives over those of the
// lines before it back to a blank line. A recording file is thus one case,
// and a table of cases one line each after a common part.
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
  std::map<std::string, std::uint64_t> settings;  // the one-value directives
  bool idFlag = true;
  std::map<std::uint8_t, std::uint8_t> configRegisters;
  std::set<std::uint8_t> writableRegisters;
  std::map<std::uint32_t, std::vector<PitReading>> pitReadings;
  std::vector<std::uint64_t> tscReads;
  int violations = 0;

  std::uint64_t Setting(const std::string& name, std::uint64_t otherwise) const {
    const auto it = settings.find(name);
    return it == settings.end() ? otherwise : it->second;
  }
  bool CanToggleIdFlag() override { return idFlag; }
  bool CanToggleAlignmentFlag() override { return Setting("alignment-flag", 1); }
  unsigned FlagsHighNibbleAfterWrite(unsigned nibble) override {
    return Setting("flags-nibble", nibble) & 0xFu;
  }
  bool DivisionKeepsFlags() override { return Setting("division-keeps-flags", 0); }
  CpuidRegisters Cpuid(std::uint32_t leaf) override;
  std::uint64_t ReadTimeStampCounter() override;
  std::uint16_t MachineStatusWord() override { return Setting("msw", 1); }
  bool HasIoPrivilege() override { return Setting("io-privilege", 0); }
  std::uint8_t ReadConfigRegister(std::uint8_t index) override;
  void WriteConfigRegister(std::uint8_t index, std::uint8_t value) override;
  PitReading TimeDivisionLoop(std::uint32_t iterations) override;

 private:
  std::size_t tscReadsDone_ = 0;
  std::uint64_t tsc_ = 0;
  std::map<std::uint32_t, std::size_t> pitRuns_;
};

struct RecordedProcessor {
  ScriptedProcessor cpu;
  std::optional<std::string> registryName;
  std::string expected;
  int line = 0;  // where the case ends in its file
};

// Every case of a recording or table file; false with the line in `error`.
bool LoadRecordings(const std::string& path, std::vector<RecordedProcessor>& out,
                    std::string* error);
// The one case of a recording file.
bool LoadRecordingFile(const std::string& path, RecordedProcessor& out, std::string* error);

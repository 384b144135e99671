#include "doubles/ScriptedProcessor.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <sstream>

namespace {

// The directives holding one number, in hex unless decimal.
const std::map<std::string, int> kSettings = {{"alignment-flag", 16},
                                              {"division-keeps-flags", 16},
                                              {"flags-nibble", 16},
                                              {"io-privilege", 16},
                                              {"msw", 16},
                                              {"tsc-step", 10},
                                              {"timer-start", 16}};

// Registers from text, four bytes each in memory order.
std::vector<std::uint32_t> Pack(const std::string& text, std::size_t registers) {
  std::vector<std::uint32_t> packed(registers);
  for (std::size_t i = 0; i < text.size() && i < 4 * registers; ++i)
    packed[i / 4] |= static_cast<std::uint32_t>(static_cast<unsigned char>(text[i]))
                     << (8 * (i % 4));
  return packed;
}

// One directive into the recording; false when it is malformed.
bool Apply(const std::string& directive, RecordedProcessor& r) {
  std::istringstream in(directive);
  std::string name;
  std::vector<std::string> args;  // words, or texts in double quotes
  in >> name;
  for (std::string word; in >> std::quoted(word);) args.push_back(word);
  const std::size_t count = args.size();
  bool ok = true;
  const auto number = [&](std::size_t i, int base) {
    char* end = nullptr;
    const std::uint64_t value = i < count ? std::strtoull(args[i].c_str(), &end, base) : 0;
    ok = ok && end && end != args[i].c_str() && *end == '\0';
    return value;
  };
  const auto hex = [&](std::size_t i) { return static_cast<std::uint32_t>(number(i, 16)); };
  ScriptedProcessor& cpu = r.cpu;
  if (name == "cpuid" && count == 5) {
    cpu.leaves[hex(0)] = {hex(1), hex(2), hex(3), hex(4)};
  } else if (name == "vendor" && count == 2) {
    const auto text = Pack(args[1], 3);
    cpu.leaves[0] = {hex(0), text[0], text[2], text[1]};
  } else if (name == "brand" && count == 1) {
    const auto text = Pack(args[0], 12);
    for (std::uint32_t i = 0; i < 3; ++i)
      cpu.leaves[0x80000002u + i] = {text[4 * i], text[4 * i + 1], text[4 * i + 2],
                                     text[4 * i + 3]};
  } else if (name == "config-register" && (count == 2 || (count == 3 && args[2] == "writable"))) {
    const auto index = static_cast<std::uint8_t>(hex(0));
    cpu.configRegisters[index] = static_cast<std::uint8_t>(hex(1));
    if (count == 3) cpu.writableRegisters.insert(index);
  } else if (name == "pit" && count >= 3) {
    auto& readings = cpu.pitReadings[static_cast<std::uint32_t>(number(0, 10))];
    readings.clear();
    for (std::size_t i = 2; i < count; ++i)
      readings.push_back({number(1, 10) != 0, static_cast<std::uint16_t>(hex(i))});
  } else if (name == "no-cpuid" && count == 0) {
    cpu.idFlag = false;
  } else if (name == "tsc-reads") {
    for (std::size_t i = 0; i < count; ++i) cpu.tscReads.push_back(number(i, 10));
  } else if (name == "registry-name" && count == 1) {
    r.registryName = args[0];
  } else if (name == "expect" && count == 1) {
    r.expected = args[0];
  } else if (kSettings.count(name) && count == 1) {
    cpu.settings[name] = number(0, kSettings.at(name));
  } else {
    return name.empty();
  }
  return ok;
}

}  // namespace

CpuidRegisters ScriptedProcessor::Cpuid(std::uint32_t leaf) {
  violations += !CanToggleIdFlag();
  const auto it = leaves.find(leaf);
  return it == leaves.end() ? CpuidRegisters{} : it->second;
}

std::uint64_t ScriptedProcessor::ReadTimeStampCounter() {
  violations += !CanToggleIdFlag() || (leaves[1].edx & 0x10u) == 0;
  tsc_ =
      tscReadsDone_ < tscReads.size() ? tscReads[tscReadsDone_++] : tsc_ + Setting("tsc-step", 0);
  return tsc_;
}

std::uint8_t ScriptedProcessor::ReadConfigRegister(std::uint8_t index) {
  violations += !HasIoPrivilege();
  return configRegisters.count(index) ? configRegisters[index] : 0;
}

void ScriptedProcessor::WriteConfigRegister(std::uint8_t index, std::uint8_t value) {
  violations += !HasIoPrivilege();
  if (writableRegisters.count(index)) configRegisters[index] = value;
}

PitReading ScriptedProcessor::TimeDivisionLoop(std::uint32_t iterations) {
  violations += !HasIoPrivilege();
  const auto& readings = pitReadings[iterations];
  return readings.empty() ? PitReading{} : readings[pitRuns_[iterations]++ % readings.size()];
}

bool LoadRecordings(const std::string& path, std::vector<RecordedProcessor>& out,
                    std::string* error) {
  std::ifstream file(path);
  RecordedProcessor common;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) common = RecordedProcessor{};
    if (first == std::string::npos || line[first] == '#') continue;
    RecordedProcessor row = common;
    std::istringstream directives(line);
    for (std::string directive; std::getline(directives, directive, ';');) {
      if (Apply(directive, row)) continue;
      if (error) *error = path + ":" + std::to_string(number) + ": " + directive;
      return false;
    }
    row.line = number;
    (row.expected.empty() ? common : out.emplace_back()) = row;  // a case, or the common part
  }
  if (!file.eof() && error) *error = "cannot read " + path;
  return file.eof();
}

bool LoadRecordingFile(const std::string& path, RecordedProcessor& out, std::string* error) {
  std::vector<RecordedProcessor> cases;
  const bool one = LoadRecordings(path, cases, error) && cases.size() == 1;
  if (one) out = cases.front();
  if (!one && error && error->empty()) *error = path + ": not one case";
  return one;
}

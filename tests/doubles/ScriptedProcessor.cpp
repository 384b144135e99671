#include "doubles/ScriptedProcessor.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::uint32_t Pack(const char* four) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(four[i])) << (8 * i);
  return v;
}

// The text between the first and the last double quote.
bool Quoted(const std::string& line, std::string& text) {
  const std::size_t first = line.find('"');
  const std::size_t last = line.rfind('"');
  if (first == std::string::npos || last == first) return false;
  text = line.substr(first + 1, last - first - 1);
  return true;
}

bool Number(std::istringstream& in, std::uint64_t& value, int base) {
  std::string word;
  if (!(in >> word)) return false;
  char* end = nullptr;
  value = std::strtoull(word.c_str(), &end, base);
  return end && *end == '\0';
}

}  // namespace

void ScriptedProcessor::SetVendor(std::uint32_t maxLeaf, const std::string& vendor) {
  char text[12] = {};
  std::memcpy(text, vendor.data(), vendor.size() < 12 ? vendor.size() : 12);
  leaves[0] = {maxLeaf, Pack(text), Pack(text + 8), Pack(text + 4)};
}

void ScriptedProcessor::SetBrand(const std::string& brand) {
  char text[48] = {};
  std::memcpy(text, brand.data(), brand.size() < 48 ? brand.size() : 48);
  for (int i = 0; i < 3; ++i) {
    const char* at = text + 16 * i;
    leaves[0x80000002u + i] = {Pack(at), Pack(at + 4), Pack(at + 8), Pack(at + 12)};
  }
}

CpuidRegisters ScriptedProcessor::Cpuid(std::uint32_t leaf) {
  ++cpuidCalls;
  const auto it = leaves.find(leaf);
  return it == leaves.end() ? CpuidRegisters{} : it->second;
}

std::uint64_t ScriptedProcessor::ReadTimeStampCounter() {
  ++tscCalls;
  if (tscIndex_ < tscReads.size()) {
    tscLast_ = tscReads[tscIndex_++];
  } else {
    tscLast_ += tscStep;
  }
  return tscLast_;
}

std::uint8_t ScriptedProcessor::ReadConfigRegister(std::uint8_t index) {
  ++portCalls;
  const auto it = configRegisters.find(index);
  return it == configRegisters.end() ? 0 : it->second;
}

void ScriptedProcessor::WriteConfigRegister(std::uint8_t index, std::uint8_t value) {
  ++portCalls;
  if (writableRegisters.count(index)) configRegisters[index] = value;
}

PitReading ScriptedProcessor::TimeDivisionLoop(std::uint32_t iterations) {
  ++portCalls;
  const auto it = pitReadings.find(iterations);
  return it == pitReadings.end() ? PitReading{} : it->second;
}

bool LoadRecording(const std::string& text, RecordedProcessor& out, std::string* error) {
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  const auto fail = [&](const char* cause) {
    if (error) *error = "line " + std::to_string(number) + ": " + cause;
    return false;
  };
  ScriptedProcessor& cpu = out.cpu;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream in(line);
    std::string directive;
    if (!(in >> directive) || directive[0] == '#') continue;
    std::uint64_t a = 0, b = 0, c = 0, d = 0, e = 0;
    std::string quoted;
    if (directive == "cpuid") {
      if (!Number(in, a, 16) || !Number(in, b, 16) || !Number(in, c, 16) || !Number(in, d, 16) ||
          !Number(in, e, 16)) {
        return fail("cpuid needs a leaf and four registers in hex");
      }
      cpu.leaves[static_cast<std::uint32_t>(a)] = {
          static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(c),
          static_cast<std::uint32_t>(d), static_cast<std::uint32_t>(e)};
    } else if (directive == "vendor") {
      if (!Number(in, a, 16) || !Quoted(line, quoted)) return fail("vendor needs MAXLEAF \"text\"");
      cpu.SetVendor(static_cast<std::uint32_t>(a), quoted);
    } else if (directive == "brand") {
      if (!Quoted(line, quoted)) return fail("brand needs a quoted text");
      cpu.SetBrand(quoted);
    } else if (directive == "no-cpuid") {
      cpu.idFlag = false;
    } else if (directive == "alignment-flag") {
      if (!Number(in, a, 10)) return fail("alignment-flag needs 0 or 1");
      cpu.alignmentFlag = a != 0;
    } else if (directive == "division-keeps-flags") {
      if (!Number(in, a, 10)) return fail("division-keeps-flags needs 0 or 1");
      cpu.divisionKeepsFlags = a != 0;
    } else if (directive == "flags-nibble") {
      if (!Number(in, a, 16)) return fail("flags-nibble needs a hex digit");
      cpu.fixedHighNibble = static_cast<unsigned>(a & 0xF);
    } else if (directive == "io-privilege") {
      if (!Number(in, a, 10)) return fail("io-privilege needs 0 or 1");
      cpu.ioPrivilege = a != 0;
    } else if (directive == "config-register") {
      if (!Number(in, a, 16) || !Number(in, b, 16)) return fail("config-register needs IDX VALUE");
      cpu.configRegisters[static_cast<std::uint8_t>(a)] = static_cast<std::uint8_t>(b);
      std::string flag;
      if (in >> flag) {
        if (flag != "writable") return fail("config-register takes only 'writable'");
        cpu.writableRegisters.insert(static_cast<std::uint8_t>(a));
      }
    } else if (directive == "pit") {
      if (!Number(in, a, 10) || !Number(in, b, 10) || !Number(in, c, 16)) {
        return fail("pit needs ITERATIONS OUT COUNT");
      }
      cpu.pitReadings[static_cast<std::uint32_t>(a)] = {b != 0, static_cast<std::uint16_t>(c)};
    } else if (directive == "msw") {
      if (!Number(in, a, 16)) return fail("msw needs a hex value");
      cpu.msw = static_cast<std::uint16_t>(a);
    } else if (directive == "tsc-step") {
      if (!Number(in, a, 10)) return fail("tsc-step needs a number");
      cpu.tscStep = a;
    } else if (directive == "tsc-reads") {
      while (Number(in, a, 10)) cpu.tscReads.push_back(a);
    } else if (directive == "registry-name") {
      if (!Quoted(line, quoted)) return fail("registry-name needs a quoted text");
      out.registryName = quoted;
    } else if (directive == "expect") {
      if (!Quoted(line, quoted)) return fail("expect needs a quoted text");
      out.expected = quoted;
    } else {
      return fail("unknown directive");
    }
  }
  return true;
}

bool LoadRecordingFile(const std::string& path, RecordedProcessor& out, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return LoadRecording(text.str(), out, error);
}

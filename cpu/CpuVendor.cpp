#include "cpu/CpuVendor.h"

#include <cstring>

namespace {

struct VendorRow {
  const char* text;
  int code;
};

// Compared in this order; "UMC" as a whole string, so a 12-character
// vendor string never matches it.
constexpr VendorRow kVendors[] = {
    {"GenuineIntel", kVendorIntel},
    {"AuthenticAMD", kVendorAmd},
    {"CyrixInstead", kVendorCyrix},
    {"GenuineTMx86", kVendorTransmeta},
    {"NexGenDriven", kVendorNexGen},
    {"RiseRiseRise", kVendorRise},
    {"UMC", kVendorUmc},
    {"CentaurHauls", kVendorVia},
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
  }
  return *a == *b;
}

void StoreRegister(std::uint32_t value, char* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool IsCpuidSupported(IProcessor& cpu) { return cpu.CanToggleIdFlag(); }

int ReadCpuVendorString(IProcessor& cpu, char* out) {
  if (!out) return 0;
  const CpuidRegisters r = cpu.Cpuid(0);
  StoreRegister(r.ebx, out);
  StoreRegister(r.edx, out + 4);
  StoreRegister(r.ecx, out + 8);
  out[12] = '\0';
  return 1;
}

int GetCpuVendor(IProcessor& cpu) {
  if (!IsCpuidSupported(cpu)) return kVendorUnknown;
  char vendor[50] = {};
  if (!ReadCpuVendorString(cpu, vendor)) return kVendorUnknown;
  for (const VendorRow& row : kVendors) {
    if (EqualsIgnoringCase(vendor, row.text)) return row.code;
  }
  return kVendorUnknown;
}

int IsViaProcessor(IProcessor& cpu) {
  if (!IsCpuidSupported(cpu)) return 0;
  char vendor[50] = {};
  if (!ReadCpuVendorString(cpu, vendor)) return 0;
  return EqualsIgnoringCase(vendor, "CentaurHauls") ? 1 : 0;
}

std::string ReadBrandString(IProcessor& cpu, bool stopAtEmptyEdx) {
  char buffer[70] = {};
  char* at = buffer;
  for (std::uint32_t leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
    const CpuidRegisters r = cpu.Cpuid(leaf);
    StoreRegister(r.eax, at);
    StoreRegister(r.ebx, at + 4);
    StoreRegister(r.ecx, at + 8);
    StoreRegister(r.edx, at + 12);
    at += 16;
    if (stopAtEmptyEdx && r.edx == 0) break;
  }
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

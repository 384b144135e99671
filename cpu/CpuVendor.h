#pragma once
#include <cstdint>
#include <string>

#include "cpu/Processor.h"

// Vendor codes, from the CPUID leaf-0 identification string.
enum CpuVendor : int {
  kVendorUnknown = 0,
  kVendorIntel = 1,
  kVendorAmd = 2,
  kVendorCyrix = 3,
  kVendorTransmeta = 4,
  kVendorVia = 5,
  kVendorNexGen = 6,
  kVendorRise = 7,
  kVendorUmc = 8,
};

// True when EFLAGS bit 21 can be inverted.
bool IsCpuidSupported(IProcessor& cpu);

// Writes the 12 characters of leaf 0's EBX, EDX, ECX and a terminator to
// `out` (at least 13 bytes). 1, or 0 with nothing written for a null `out`.
int ReadCpuVendorString(IProcessor& cpu, char* out);

// The vendor code; 0 without CPUID or for an unlisted vendor string. Letter
// case is ignored.
int GetCpuVendor(IProcessor& cpu);

// 1 for "CentaurHauls" in any letter case, else 0.
int IsViaProcessor(IProcessor& cpu);

// ASCII comparison ignoring letter case, of zero-terminated texts.
bool EqualsIgnoringCase(const char* a, const char* b);

// Leaves 0x80000002 to 0x80000004 as text (up to the first zero byte).
// With `stopAtEmptyEdx`, stops after the first leaf whose EDX is 0.
std::string ReadBrandString(IProcessor& cpu, bool stopAtEmptyEdx);

// Four register bytes in memory order.
void StoreRegister(std::uint32_t value, char* out);

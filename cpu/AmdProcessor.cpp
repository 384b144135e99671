#include "cpu/AmdProcessor.h"

#include "cpu/CpuSpeed.h"
#include "cpu/CpuVendor.h"
#include "cpu/IntelNames.h"

namespace {

struct AmdModelRow {
  unsigned family, modelFirst, modelLast;
  const char* name;
};

constexpr AmdModelRow kAmdModels[] = {
    // family  models  name
    {5, 0, 0, "AMD-K5(Model 0)"}, {5, 1, 1, "AMD-K5(Model 1)"}, {5, 2, 2, "AMD-K5(Model 2)"},
    {5, 3, 3, "AMD-K5(Model 3)"}, {5, 6, 8, "AMD-K6"},          {4, 0, 0, "Am486 and Am5X86"},
};

}  // namespace

int IsAmdProcessor(IProcessor& cpu) {
  char vendor[13] = {};
  ReadCpuVendorString(cpu, vendor);
  return EqualsIgnoringCase(vendor, "AuthenticAMD") ? 1 : 0;
}

int IdentifyAmd(const Platform& platform, std::string& name, int& speed) {
  IProcessor& cpu = *platform.processor;
  const std::string brand = ReadBrandString(cpu, false);
  if (!brand.empty()) {
    name = brand;  // leading blanks kept
    speed = MeasureNominalSpeed(platform, kSpeedKeyAmd);
    return 0;
  }

  name = "Amd CPU";
  if (IsCpuidSupported(cpu) && cpu.Cpuid(0x80000000u).eax >= 0x80000004u) {
    name = ReadBrandString(cpu, true);
  } else {
    const CpuSignature s = CpuSignature::FromWord(cpu.Cpuid(1).eax);
    const AmdModelRow* found = nullptr;
    for (const AmdModelRow& row : kAmdModels) {
      if (s.family == row.family && row.modelFirst <= s.model && s.model <= row.modelLast) {
        found = &row;
        break;
      }
    }
    if (!found) return -1;
    name = found->name;
  }
  speed = MeasureNominalSpeed(platform, kSpeedKeyAmd);
  return 0;
}

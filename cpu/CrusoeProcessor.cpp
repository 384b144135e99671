#include "cpu/CrusoeProcessor.h"

#include "cpu/CpuVendor.h"

int CCrusoeProcessor::IdentifyCrusoe(std::string& name, int& speed) {
  IProcessor& cpu = *platform_.processor;
  name = "Transmeta<tm> Crusoe<tm> Processor";
  if (!IsCpuidSupported(cpu)) return 0;

  std::string text;
  if (cpu.Cpuid(0x80000000u).eax >= 0x80000004u) {
    text = ReadBrandString(cpu, true);
  } else {
    const CpuidRegisters r = cpu.Cpuid(0x80860000u);
    if (r.eax > 0x80860000u) {
      char buffer[13] = {};
      StoreRegister(r.ebx, buffer);
      StoreRegister(r.edx, buffer + 4);
      StoreRegister(r.ecx, buffer + 8);
      text = buffer;
    }
    if (EqualsIgnoringCase(text.c_str(), "TransmetaCPU")) {
      text = "Transmeta<tm> Crusoe<tm> Processor TMxx00";
    }
  }
  name = text;

  speed = 0;
  if (cpu.Cpuid(0x80860000u).eax > 0x80860000u) {
    speed = static_cast<int>(cpu.Cpuid(0x80860001u).ecx);
  }
  return 0;
}

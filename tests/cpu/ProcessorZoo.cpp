// Prints what the real processor layer reads and makes of the processor it
// runs on: the vendor string, the CPUID signature and the description.
// Run under qemu-i386 -cpu MODEL by processor-zoo.sh; no registry and no
// speed table, so the speed is the measured one.
#include <cstdio>

#include "cpu/CpuVendor.h"
#include "cpu/ProcessorDescription.h"
#include "cpu/X86Processor.h"
#include "doubles/ProcessorDoubles.h"
#include "platform/Platform.h"

int main() {
  X86Processor cpu;
  SteadyTimer timer;
  Platform platform;
  platform.processor = &cpu;
  platform.timer = &timer;
  char vendor[13] = {};
  const bool cpuid = IsCpuidSupported(cpu) && ReadCpuVendorString(cpu, vendor);
  const unsigned signature = cpuid && cpu.Cpuid(0).eax >= 1 ? cpu.Cpuid(1).eax : 0;
  std::printf("vendor %s\nsignature %08X\ndescription %s\n", vendor, signature,
              GetProcessorDescription(platform).c_str());
  return 0;
}

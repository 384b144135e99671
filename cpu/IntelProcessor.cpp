#include "cpu/IntelProcessor.h"

#include "cpu/CpuSpeed.h"
#include "cpu/CpuVendor.h"
#include "cpu/IntelNames.h"
#include "cpu/Processor.h"
#include "registry/RegUtil.h"

namespace {

constexpr char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr char kProcessorNameValue[] = "ProcessorNameString";
constexpr std::uint32_t kRegSz = 1;

}  // namespace

unsigned FamilyFromFlagTests(IProcessor& cpu) {
  if (cpu.FlagsHighNibbleAfterWrite(0x0) == 0xF) return 0;
  if (cpu.FlagsHighNibbleAfterWrite(0xF) == 0x0) return 2;
  if (!cpu.CanToggleAlignmentFlag()) return 3;
  return 4;
}

std::uint32_t CIntelProcessor::ReadSignature() {
  IProcessor& cpu = *platform_.processor;
  if (!IsCpuidSupported(cpu)) return FamilyFromFlagTests(cpu) * 256u;
  if (cpu.Cpuid(0).eax < 1) return 0;
  return cpu.Cpuid(1).eax;
}

int CIntelProcessor::ReadNameClass() {
  if (!platform_.registry) return 0;
  char buffer[257] = {};  // one terminator beyond the 256 bytes read
  CRegUtil reg(*platform_.registry);
  if (!reg.ReadValue(kProcessorKey, kProcessorNameValue, buffer, 256, kRegSz)) return 0;
  return NameClassFromProcessorName(buffer);
}

int CIntelProcessor::Identify(std::string& name, int& speed) {
  IProcessor& cpu = *platform_.processor;
  m_uSignature = ReadSignature();
  const CpuSignature signature = CpuSignature::FromWord(m_uSignature);
  m_strName.clear();

  if (signature.type == 0) {
    IntelNamingFacts facts;
    facts.nameClass = ReadNameClass();
    // Without CPUID the brand index and cache class stay 0.
    if (IsCpuidSupported(cpu)) {
      facts.brandIndex = cpu.Cpuid(1).ebx & 0xFFu;
      const CpuidRegisters leaf2 = cpu.Cpuid(2);
      facts.cacheClass = CacheClassFromDescriptors(leaf2.eax, leaf2.ebx, leaf2.ecx, leaf2.edx);
      const CpuSignature again = CpuSignature::FromWord(cpu.Cpuid(1).eax);
      facts.leaf1IsPentiumM = again.type == 0 && again.family == 6 && again.model == 9;
    }
    m_strName = CCPUInfo().GetName(signature, facts);
  } else if (signature.type == 1) {
    m_strName = OverDriveName(signature);
  }

  speed = MeasureNominalSpeed(platform_, kSpeedKeyIntel);
  name = m_strName;
  return 0;
}

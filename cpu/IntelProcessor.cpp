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

std::string CIntelProcessor::NameFromTables(const CpuSignature& signature) {
  IProcessor& cpu = *platform_.processor;
  if (signature.type == 1) return OverDriveName(signature);
  if (signature.type != 0) return {};
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
  return CCPUInfo().GetName(signature, facts);
}

// The tables name the processors up to the Pentium M by family, model,
// brand index, cache and registry name. A signature that sets its extended
// model or extended family field belongs to a later processor, which the
// tables would misname (a Core 2 as a Pentium III, a Xeon Gold as a
// Pentium II): when such a processor has a brand string (leaves 0x80000002
// to 0x80000004, the highest extended leaf reaching 0x80000004), it is
// named by that string without its leading blanks and described in the
// plain format. Without a brand string, and for every processor whose
// extended fields are clear, the tables name it.
int CIntelProcessor::Identify(std::string& name, int& speed) {
  IProcessor& cpu = *platform_.processor;
  m_uSignature = ReadSignature();
  m_strName.clear();
  m_bNamedByBrand = false;

  if (HasExtendedFields(m_uSignature) && cpu.Cpuid(0x80000000u).eax >= 0x80000004u) {
    const std::string brand = ReadBrandString(cpu, false);
    const std::size_t first = brand.find_first_not_of(' ');
    if (first != std::string::npos) {
      m_strName = brand.substr(first);
      m_bNamedByBrand = true;
    }
  }
  if (!m_bNamedByBrand) m_strName = NameFromTables(CpuSignature::FromWord(m_uSignature));

  speed = MeasureNominalSpeed(platform_, kSpeedKeyIntel);
  name = m_strName;
  return 0;
}

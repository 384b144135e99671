#include "cpu/CyrixProcessor.h"

#include <cstring>

#include "cpu/CpuSpeed.h"
#include "cpu/CpuVendor.h"
#include "cpu/IntelNames.h"
#include "cpu/Processor.h"
#include "cpu/SpeedTable.h"

namespace {

constexpr char kVendor[] = "CyrixInstead";
constexpr float kPitHz = 1193182.0f;
constexpr std::uint32_t kLoopIterations = 8192;
constexpr int kRunsPerGroup = 10;

// Whether a configuration register keeps a write of `bit` inverted. The
// read of 0xC0 in between changes the bus so a floating value is not
// mistaken for a stored one. The register gets its value back.
bool IsWritable(IProcessor& cpu, std::uint8_t index, std::uint8_t bit) {
  const std::uint8_t original = cpu.ReadConfigRegister(index);
  cpu.WriteConfigRegister(index, static_cast<std::uint8_t>(original ^ bit));
  cpu.ReadConfigRegister(0xC0);
  const bool changed = cpu.ReadConfigRegister(index) != original;
  cpu.WriteConfigRegister(index, original);
  return changed;
}

std::uint32_t PitTicks(const PitReading& r) { return (r.out ? 65536u : 0u) + (0xFFFFu - r.count); }

}  // namespace

bool CCyrixProcessor::IsCyrixVendorString() {
  char vendor[13] = {};
  ReadCpuVendorString(*platform_.processor, vendor);
  return std::memcmp(vendor, kVendor, sizeof vendor) == 0;
}

bool CCyrixProcessor::BothFlagTestsSucceed() {
  IProcessor& cpu = *platform_.processor;
  return cpu.CanToggleAlignmentFlag() && cpu.DivisionKeepsFlags();
}

int CCyrixProcessor::IsCyrixProcessor() {
  if (IsCpuidSupported(*platform_.processor)) return IsCyrixVendorString() ? 1 : 0;
  return BothFlagTestsSucceed() ? 1 : 0;
}

CyrixDir CCyrixProcessor::ReadDir() {
  IProcessor& cpu = *platform_.processor;
  CyrixDir dir;
  const bool ccr2 = IsWritable(cpu, 0xC2, 0x04);
  const bool ccr3 = IsWritable(cpu, 0xC3, 0x80);
  if (ccr3) {
    dir.dir0 = cpu.ReadConfigRegister(0xFE);
    dir.dir1 = cpu.ReadConfigRegister(0xFF);
  } else if (ccr2) {
    dir.dir0 = 0xFE;
  } else {
    dir.dir0 = 0xFD;
    dir.dir1 = 1;
  }
  return dir;
}

std::string CCyrixProcessor::ReadName() {
  IProcessor& cpu = *platform_.processor;
  if (IsCpuidSupported(cpu)) {
    const std::uint32_t highest = cpu.Cpuid(0x80000000u).eax;
    if (highest > 0x80000000u) {
      return highest >= 0x80000004u ? ReadBrandString(cpu, false) : std::string();
    }
    char vendor[13] = {};
    ReadCpuVendorString(cpu, vendor);
    if (std::memcmp(vendor, kVendor, sizeof vendor) != 0) return vendor;
    if (cpu.Cpuid(0).eax == 0) return "Unknown Cyrix";
    const CpuidRegisters leaf1 = cpu.Cpuid(1);
    const CpuSignature s = CpuSignature::FromWord(leaf1.eax);
    if (s.family == 4 && s.model == 4) return "MediaGX(tm)";
    if (s.family == 5 && s.model == 2) {
      if (leaf1.edx == 0x00000001u) return "6x86(tm)";
      if (leaf1.edx == 0x00000105u) return "6x86L(tm)";
      return "Unknown Cyrix";
    }
    if (s.family == 5 && s.model == 4) return "GXm(tm)";
    if (s.family == 6 && s.model == 0) return "6x86MX(tm)";
    return "Unknown Cyrix";
  }
  if (BothFlagTestsSucceed() && cpu.HasIoPrivilege()) return CyrixNameFromDir(ReadDir());
  return "Unknown CPU";
}

float CCyrixProcessor::EstimateClock() {
  IProcessor& cpu = *platform_.processor;
  if (!cpu.HasIoPrivilege()) return 0.0f;

  const int coreClass = BothFlagTestsSucceed() ? CyrixCoreClass(ReadDir().dir0) : 0;
  const bool useCounter = IsCpuidSupported(cpu) && cpu.Cpuid(0).eax > 0 &&
                          (cpu.Cpuid(1).edx & 0x10u) != 0 && (cpu.MachineStatusWord() & 1u) == 0;

  const auto timeGroup = [&](std::uint32_t iterations, std::uint64_t& counted) {
    std::uint32_t ticks = 0;
    // A part without a usable counter must not execute RDTSC at all.
    const std::uint64_t before = useCounter ? cpu.ReadTimeStampCounter() : 0;
    for (int run = 0; run < kRunsPerGroup; ++run)
      ticks += PitTicks(cpu.TimeDivisionLoop(iterations));
    counted = useCounter ? cpu.ReadTimeStampCounter() - before : 0;
    return ticks;
  };
  std::uint64_t loopCount = 0;
  std::uint64_t emptyCount = 0;
  const std::uint32_t loopTicks = timeGroup(kLoopIterations, loopCount);
  const std::uint32_t emptyTicks = timeGroup(0, emptyCount);

  const std::uint32_t ticks = loopTicks / kRunsPerGroup - emptyTicks / kRunsPerGroup;
  float cycles;
  if (useCounter) {
    cycles = static_cast<float>(
        static_cast<std::uint32_t>(loopCount / kRunsPerGroup - emptyCount / kRunsPerGroup));
  } else {
    const CyrixTimings t = CyrixTimingsForClass(coreClass);
    cycles = static_cast<float>(kLoopIterations * (5 * t.divideCycles + t.loopCycles));
  }
  // No elapsed time would divide by zero.
  if (ticks == 0) return 0.0f;
  return cycles / (static_cast<float>(ticks) / kPitHz) / 1000000.0f;
}

int CCyrixProcessor::IdentifyCyrix(std::string& name, int& speed) {
  IProcessor& cpu = *platform_.processor;
  if (!IsCpuidSupported(cpu) && !cpu.HasIoPrivilege()) {
    name = "Cyrix CPU";
    return 0;
  }
  const std::string found = ReadName();
  const float clock = EstimateClock();

  const char* canonical = CanonicalCyrixName(found);
  name = std::string("Cyrix ") + (canonical ? canonical : "");

  // Only clocks that fit an int are meaningful; anything else counts as no
  // estimate.
  if (clock >= 1.0f && clock < 2147483648.0f) {
    speed = static_cast<int>(
        SnapToNominalSpeed(platform_, static_cast<std::uint32_t>(clock), kSpeedKeyCyrix));
  }
  return 0;
}

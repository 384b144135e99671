#pragma once
#include <cstdint>
#include <string>

// The signature word's fields (CPUID leaf 1, EAX); the naming tables use
// no extended family or model field.
struct CpuSignature {
  unsigned stepping = 0;
  unsigned model = 0;
  unsigned family = 0;
  unsigned type = 0;

  static CpuSignature FromWord(std::uint32_t word) {
    return {word & 0xFu, (word >> 4) & 0xFu, (word >> 8) & 0xFu, (word >> 12) & 0x3u};
  }
};

// True when the signature word sets its extended model (bits 16 to 19) or
// extended family (bits 20 to 27): a processor newer than the tables.
constexpr bool HasExtendedFields(std::uint32_t word) { return (word & 0x0FFF0000u) != 0; }

// What the naming rules look at besides the signature.
struct IntelNamingFacts {
  unsigned brandIndex = 0;  // leaf 1, EBX bits 0 to 7
  int cacheClass = 0;       // 1: no L2 (0x40); 2: 1 or 2 MB L2 (0x44, 0x45); else 0
  int nameClass = 0;        // registry name: 1 celeron, 2 xeon, 3 pentium, else 0
  // Leaf 1 read again for brand 22: type 0, family 6, model 9.
  bool leaf1IsPentiumM = false;
};

// Names of OverDrive processors (type 1); "Unknown Processor" when no row
// matches.
std::string OverDriveName(const CpuSignature& signature);

// The family/model/brand decoder for processors of type 0.
class CCPUInfo {
 public:
  virtual ~CCPUInfo() = default;
  std::string GetName(const CpuSignature& signature, const IntelNamingFacts& facts) const;
  std::string DecodeBrand(const CpuSignature& signature, const IntelNamingFacts& facts) const;
};

// Cache class from one execution of leaf 2: EAX without its lowest byte,
// and all bytes of EBX, ECX, EDX.
int CacheClassFromDescriptors(std::uint32_t eax, std::uint32_t ebx, std::uint32_t ecx,
                              std::uint32_t edx);

// Name class of the registry's processor name, compared lower-cased.
int NameClassFromProcessorName(const std::string& name);

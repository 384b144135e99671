#pragma once
#include <cstdint>
#include <string>

#include "cpu/IntelNames.h"
#include "platform/Platform.h"

// Names an Intel processor, and any processor no other identifier claimed,
// from its signature, brand index, cache descriptors and the registry's
// processor name.
class CIntelProcessor {
 public:
  explicit CIntelProcessor(const Platform& platform) : platform_(platform) {}
  virtual ~CIntelProcessor() = default;

  // Replaces `name` (possibly with an empty text), sets `speed` in MHz and
  // returns 0.
  int Identify(std::string& name, int& speed);
  // Whether the last Identify named the processor by its brand string,
  // which the description then shows as it stands (the plain format).
  bool NamedByBrand() const { return m_bNamedByBrand; }

  // The signature word; without CPUID, the family from the EFLAGS tests
  // times 256.
  std::uint32_t ReadSignature();

 private:
  int ReadNameClass();
  std::string NameFromTables(const CpuSignature& signature);

  const Platform& platform_;
  std::string m_strName;
  std::uint32_t m_uSignature = 0;
  bool m_bNamedByBrand = false;
};

// Family of a processor without CPUID: 0 (8086), 2 (286), 3 (386) or 4.
unsigned FamilyFromFlagTests(IProcessor& cpu);

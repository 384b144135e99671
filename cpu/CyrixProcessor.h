#pragma once
#include <string>

#include "cpu/CyrixNames.h"
#include "platform/Platform.h"

// Recognises and names Cyrix processors, including the 486-class parts
// without CPUID, and estimates their clock against the timer chip.
class CCyrixProcessor {
 public:
  explicit CCyrixProcessor(const Platform& platform) : platform_(platform) {}
  virtual ~CCyrixProcessor() = default;

  // 1 for the exact vendor string "CyrixInstead"; without CPUID, 1 when the
  // alignment-check and division-flags tests both succeed.
  int IsCyrixProcessor();

  // Sets `name` to "Cyrix " followed by the canonical name, or "Cyrix "
  // alone, and `speed` to the snapped clock estimate when one above 0 was
  // made. Without CPUID and without I/O privilege the part cannot be told
  // apart: `name` becomes "Cyrix CPU" and `speed` is untouched. Returns 0.
  int IdentifyCyrix(std::string& name, int& speed);

  // The name before canonicalisation (at most 48 characters).
  std::string ReadName();
  // DIR0 and DIR1 through the configuration registers; needs I/O privilege.
  CyrixDir ReadDir();
  // Clock in MHz; 0 without I/O privilege or when no time elapsed.
  float EstimateClock();

 private:
  bool IsCyrixVendorString();
  bool BothFlagTestsSucceed();

  const Platform& platform_;
};

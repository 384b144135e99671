#pragma once
#include <string>

#include "platform/Platform.h"

// Names a Transmeta processor and takes its nominal clock from the
// Transmeta leaves (0x80860000 upwards); nothing is measured.
class CCrusoeProcessor {
 public:
  explicit CCrusoeProcessor(const Platform& platform) : platform_(platform) {}
  virtual ~CCrusoeProcessor() = default;
  // Replaces `name`; sets `speed` when CPUID is available. Returns 0.
  int IdentifyCrusoe(std::string& name, int& speed);

 private:
  const Platform& platform_;
};

// VIA (Centaur) processors are recognised but not identified further.
class CViaProcessor {
 public:
  virtual ~CViaProcessor() = default;
  static constexpr const char* kDescriptionName = "VIA C3 Processor not support";
};

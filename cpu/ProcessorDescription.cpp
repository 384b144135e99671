#include "cpu/ProcessorDescription.h"

#include "cpu/AmdProcessor.h"
#include "cpu/CpuVendor.h"
#include "cpu/CrusoeProcessor.h"
#include "cpu/CyrixProcessor.h"
#include "cpu/IntelProcessor.h"

namespace {

enum class Identifier { kIntel, kAmd, kCyrix, kCrusoe, kVia, kProbe };
enum class Format { kIntel, kPlain };

struct VendorDispatch {
  int vendor;
  const char* defaultName;
  Identifier identifier;
};

constexpr VendorDispatch kDispatch[] = {
    // vendor           default text                    identifier
    {kVendorIntel, "Intel CPU", Identifier::kIntel},
    {kVendorAmd, "Amd CPU", Identifier::kAmd},
    {kVendorCyrix, "Cyrix CPU", Identifier::kCyrix},
    {kVendorTransmeta, "Crusoe CPU", Identifier::kCrusoe},
    {kVendorVia, CViaProcessor::kDescriptionName, Identifier::kVia},
};

constexpr std::size_t kDescriptionSize = 256;

}  // namespace

std::string GetProcessorDescription(const Platform& platform) {
  if (!platform.processor) return {};
  IProcessor& cpu = *platform.processor;
  CCyrixProcessor cyrix(platform);
  CIntelProcessor intel(platform);
  CCrusoeProcessor crusoe(platform);
  CViaProcessor via;

  std::string name;
  int speed = 0;
  const int vendor = GetCpuVendor(cpu);
  Identifier identifier = Identifier::kProbe;
  for (const VendorDispatch& row : kDispatch) {
    if (row.vendor == vendor) {
      name = row.defaultName;
      identifier = row.identifier;
    }
  }
  if (identifier == Identifier::kProbe) {
    if (cyrix.IsCyrixProcessor()) {
      identifier = Identifier::kCyrix;
    } else if (IsViaProcessor(cpu)) {
      name = CViaProcessor::kDescriptionName;
      identifier = Identifier::kVia;
    } else if (IsCpuidSupported(cpu) && IsAmdProcessor(cpu)) {
      identifier = Identifier::kAmd;
    } else {
      identifier = Identifier::kIntel;
    }
  }

  Format format = Format::kPlain;
  switch (identifier) {
    case Identifier::kIntel:
      intel.Identify(name, speed);
      format = intel.NamedByBrand() ? Format::kPlain : Format::kIntel;
      break;
    case Identifier::kAmd:
      IdentifyAmd(platform, name, speed);
      break;
    case Identifier::kCyrix:
      cyrix.IdentifyCyrix(name, speed);
      break;
    case Identifier::kCrusoe:
      crusoe.IdentifyCrusoe(name, speed);
      break;
    case Identifier::kVia:
    case Identifier::kProbe:
      speed = 0;
      break;
  }

  // "Intel %s CPU,  %d MHz" or "%s, %d MHz", cut to the buffer.
  const std::string text = name.c_str();
  std::string out = format == Format::kIntel ? "Intel " + text + " CPU,  " : text + ", ";
  out += std::to_string(speed) + " MHz";
  if (out.size() >= kDescriptionSize) out.resize(kDescriptionSize - 1);
  return out;
}

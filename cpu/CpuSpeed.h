#pragma once
#include <cstdint>

#include "platform/Platform.h"

// Vendor keys of the speed table.
inline constexpr const char kSpeedKeyIntel[] = "CPU_INTEL";
inline constexpr const char kSpeedKeyAmd[] = "CPU_AMD";
inline constexpr const char kSpeedKeyCyrix[] = "CPU_CYRIX";

// True when CPUID reports the time-stamp counter (leaf 1, EDX bit 4).
bool HasTimeStampCounter(IProcessor& cpu);

// Clock speed in MHz: time-stamp counts over a little more than one second
// of the millisecond timer (at 1-ms resolution while it runs), divided by
// 10^6 as if the interval were exactly one second. Busy-waits for that
// second. 0 without a time-stamp counter, when the counter reads lower at
// the end than at the start, or without the processor and timer services.
std::uint32_t MeasureCpuSpeed(const Platform& platform);

// MeasureCpuSpeed snapped to the vendor's nominal speed; 0 stays 0.
int MeasureNominalSpeed(const Platform& platform, const char* vendorKey);

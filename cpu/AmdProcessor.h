#pragma once
#include <string>

#include "cpu/Processor.h"
#include "platform/Platform.h"

// 1 when leaf 0's vendor string is "AuthenticAMD" in any letter case.
// Needs CPUID.
int IsAmdProcessor(IProcessor& cpu);

// Names an AMD processor by its brand string or, for older parts, by the
// model table, and measures its speed. 0, or -1 when the model table has
// no row (the name then reads "Amd CPU" and the speed is untouched).
int IdentifyAmd(const Platform& platform, std::string& name, int& speed);

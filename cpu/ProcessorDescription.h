#pragma once
#include <string>

#include "platform/Platform.h"

// One line naming the processor and its clock: "Intel %s CPU,  %d MHz"
// for the Intel identifier, "%s, %d MHz" for the others. Needs the
// processor service; the timer, host, file, profile and registry services
// refine the result when present. At most 255 characters.
std::string GetProcessorDescription(const Platform& platform);

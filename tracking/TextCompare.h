#pragma once
#include <string>

// Whole texts equal when letter case is ignored, as the process's ANSI code
// page defines letters. Nothing is trimmed.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

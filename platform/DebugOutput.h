#pragma once
#include <string>

// The debugger output (OutputDebugStringA).
class IDebugOutput {
 public:
  virtual ~IDebugOutput() = default;
  virtual void Write(const std::string& line) = 0;
};

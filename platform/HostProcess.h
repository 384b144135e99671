#pragma once
#include <string>

// The process the module is loaded into.
class IHostProcess {
 public:
  virtual ~IHostProcess() = default;
  // Path of the host's executable (GetModuleFileNameA with a null module),
  // cut to fit `capacity` bytes with its terminator; empty on failure.
  virtual std::string ExecutablePath(unsigned capacity) = 0;
};

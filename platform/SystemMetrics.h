#pragma once

// GetSystemMetrics.
class ISystemMetrics {
 public:
  virtual ~ISystemMetrics() = default;
  virtual int GetSystemMetrics(int index) = 0;
};

inline constexpr int kSmTabletPc = 86;

#pragma once
#include <cstdint>

inline constexpr std::uint32_t kPowerActionNone = 0;
inline constexpr std::uint32_t kPowerActionSleep = 2;
inline constexpr std::uint32_t kPowerActionHibernate = 3;

// The fields of the current POWER_POLICY that the module reads.
struct PowerPolicySnapshot {
  // User policy.
  std::uint32_t IdleActionAc = 0;  // POWER_ACTION of IdleAc
  std::uint32_t IdleActionDc = 0;
  std::uint32_t IdleTimeoutAc = 0;
  std::uint32_t IdleTimeoutDc = 0;
  std::uint32_t VideoTimeoutAc = 0;
  std::uint32_t VideoTimeoutDc = 0;
  std::uint32_t SpindownTimeoutAc = 0;
  std::uint32_t SpindownTimeoutDc = 0;
  // Machine policy.
  std::uint32_t DozeS4TimeoutAc = 0;
  std::uint32_t DozeS4TimeoutDc = 0;
};

// The power-profile library.
class IPowerPolicy {
 public:
  virtual ~IPowerPolicy() = default;
  // GetCurrentPowerPolicies without the global policy. On failure returns
  // false and leaves `policy` untouched.
  virtual bool GetCurrentPowerPolicies(PowerPolicySnapshot& policy) = 0;
  // GetLastError right after the call.
  virtual std::uint32_t GetLastError() = 0;
};

#include <string>

#include "entry/InventorySummary.h"
#include "platform/DebugOutput.h"
#include "platform/PowerPolicy.h"
#include "platform/SystemFacts.h"

namespace {

std::uint32_t SleepSeconds(std::uint32_t action, std::uint32_t idle) {
  return action == kPowerActionSleep ? idle : 0;
}

// Hibernation follows the idle time-out directly, or after sleeping for
// the machine's doze time-out.
std::uint32_t HibernateSeconds(std::uint32_t action, std::uint32_t idle, std::uint32_t dozeS4) {
  if (action == kPowerActionHibernate) return idle;
  if (action == kPowerActionSleep && dozeS4 != 0) return idle + dozeS4;
  return 0;
}

}  // namespace

int ReadPowerPolicy(PowerRecord* record, IPowerPolicy& power, IDebugOutput& debug) {
  if (!record) return 1;
  *record = PowerRecord{};
  PowerPolicySnapshot policy;
  if (!power.GetCurrentPowerPolicies(policy)) {
    const auto error = static_cast<int>(power.GetLastError());
    debug.Write("GetCurrentPowerPolicies is fail(error : " + std::to_string(error) + ")");
    return 0;
  }
  record->Monitor_Ac = policy.VideoTimeoutAc;
  record->Monitor_Dc = policy.VideoTimeoutDc;
  record->Harddisk_Ac = policy.SpindownTimeoutAc;
  record->Harddisk_Dc = policy.SpindownTimeoutDc;
  record->Sleep_Ac = SleepSeconds(policy.IdleActionAc, policy.IdleTimeoutAc);
  record->Sleep_Dc = SleepSeconds(policy.IdleActionDc, policy.IdleTimeoutDc);
  record->Hibernate_Ac =
      HibernateSeconds(policy.IdleActionAc, policy.IdleTimeoutAc, policy.DozeS4TimeoutAc);
  record->Hibernate_Dc =
      HibernateSeconds(policy.IdleActionDc, policy.IdleTimeoutDc, policy.DozeS4TimeoutDc);
  return 1;
}

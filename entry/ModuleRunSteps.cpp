#include "entry/ModuleRunSteps.h"

#include "entry/MorvApp.h"

// Each step delegates to its subsystem.

namespace {

// Until WMI collection is in place: a session that collects nothing.
class NoWmiSession final : public IWmiSession {
 public:
  int Initialize() override { return 1; }
  int Collect() override { return 0; }
};

}  // namespace

std::unique_ptr<IWmiSession> ModuleRunSteps::CreateWmiSession(CMorvApp&) {
  return std::make_unique<NoWmiSession>();
}

void ModuleRunSteps::GetOsEditionCode(PlatformFacts& facts) { facts.OsEditionCode = 0; }

std::string ModuleRunSteps::GetOsEditionName(int) { return {}; }

std::string ModuleRunSteps::GetProcessorDescription() { return {}; }

std::uint64_t ModuleRunSteps::GetTotalPhysicalMemory() { return 0; }

std::uint64_t ModuleRunSteps::GetFixedDiskTotalBytes() { return 0; }

std::uint64_t ModuleRunSteps::GetFixedDiskFreeBytes() { return 0; }

void ModuleRunSteps::FindDisplayAdapterNames(PlatformFacts&, std::vector<std::string>&) {}

void ModuleRunSteps::FindMonitorNames(std::vector<std::string>&, PlatformFacts&) {}

void ModuleRunSteps::FindCdromNames(PlatformFacts&, std::vector<std::string>&) {}

void ModuleRunSteps::ReadPowerPolicy(CMorvApp&) {}

int ModuleRunSteps::BuildAssetDocument(CMorvApp& app, const std::string&) {
  app.m_strTimestamp.clear();
  return -1;
}

int ModuleRunSteps::CompareWithPrevious(CMorvApp&, const std::string&) { return -1; }

#include "doubles/FakePlatform.h"

#include <filesystem>
#include <system_error>

#include "document/pugi/HostPath.h"

namespace fs = std::filesystem;

bool FakeVersionInfo::GetVersionEx(std::uint32_t structSize, OsVersionInfo& out) {
  if (structSize == kOsVersionInfoExSize && exSucceeds) {
    out = info;
    return true;
  }
  if (structSize == kOsVersionInfoSize && basicSucceeds) {
    out = info;
    out.servicePackMajor = out.servicePackMinor = out.suiteMask = 0;
    out.productType = 0;
    return true;
  }
  return false;
}

HResult FakeComRuntime::Initialize() {
  calls.push_back("Initialize");
  if (Succeeded(initializeResult)) ++depth;
  return initializeResult;
}

HResult FakeComRuntime::InitializeEx(std::uint32_t flags) {
  calls.push_back("InitializeEx(" + std::to_string(flags) + ")");
  if (Succeeded(initializeResult)) ++depth;
  return initializeResult;
}

void FakeComRuntime::Uninitialize() {
  calls.push_back("Uninitialize");
  --depth;
}

HResult FakeComRuntime::InitializeSecurity(const ComSecuritySettings& settings) {
  calls.push_back("Security");
  lastSecurity = settings;
  return securityResult;
}

std::string HostFileSystem::ToPosix(const std::string& windowsPath) {
  return ToHostPath(windowsPath);
}

bool HostFileSystem::Fails(const char* operation) {
  calls.push_back(operation);
  return failOperations.count(operation) != 0;
}

bool HostFileSystem::FindAny(const std::string& path) {
  if (Fails("FindAny")) return false;
  std::error_code error;
  return !path.empty() && fs::exists(ToPosix(path), error);
}

bool HostFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  if (Fails("CopyFile")) return false;
  std::error_code error;
  const auto options = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
  return fs::copy_file(ToPosix(from), ToPosix(to), options, error) && !error;
}

bool HostFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  if (Fails("ReplaceFile")) return false;
  std::error_code error;
  const fs::path target = ToPosix(to);
  if (fs::is_directory(target, error)) return false;
  fs::rename(ToPosix(from), target, error);
  return !error;
}

bool HostFileSystem::DeleteFile(const std::string& path) {
  if (Fails("DeleteFile")) return false;
  std::error_code error;
  return fs::remove(ToPosix(path), error);
}

#include "doubles/FakePlatform.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
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

HResult FakeComRuntime::Enter(HResult apartment) {
  const HResult result = Failed(initializeResult) ? initializeResult : apartment;
  if (Succeeded(result)) ++depth;
  return result;
}

HResult FakeComRuntime::InitializeSecurity(const ComSecuritySettings& settings) {
  security.push_back(std::string(settings.withAuthenticationList ? "list" : "no list") +
                     ", authentication " + std::to_string(settings.authenticationLevel) +
                     ", impersonation " + std::to_string(settings.impersonationLevel));
  return securityResult;
}

std::string HostFileSystem::ToPosix(const std::string& windowsPath) {
  return ToHostPath(windowsPath);
}

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kCallNotImplemented = 120;
constexpr std::uint32_t kAlreadyExists = 183;

}  // namespace

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (text[++i] == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      const char c = text[i];
      out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
  }
  return out;
}

bool HostFileSystem::Fails(const std::string& operation) {
  calls.push_back(operation);
  const auto nth = std::count(calls.begin(), calls.end(), operation);
  if (failOperations.count(operation) == 0 &&
      failOperations.count(operation + ":" + std::to_string(nth)) == 0)
    return false;
  lastError_ = injectedError;
  return true;
}

bool HostFileSystem::Result(bool succeeded, std::uint32_t error) {
  if (!succeeded) lastError_ = error;
  return succeeded;
}

bool HostFileSystem::FindAny(const std::string& path) {
  if (Fails("FindAny")) return false;
  std::error_code error;
  return Result(!path.empty() && fs::exists(ToPosix(path), error), kFileNotFound);
}

bool HostFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  if (Fails("CopyFile")) return false;
  std::error_code error;
  const auto options = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
  return Result(fs::copy_file(ToPosix(from), ToPosix(to), options, error) && !error, kAccessDenied);
}

bool HostFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  if (Fails("ReplaceFile")) return false;
  if (!moveFileExImplemented) return Result(false, kCallNotImplemented);
  std::error_code error;
  const fs::path target = ToPosix(to);
  if (fs::is_directory(target, error)) return Result(false, kAccessDenied);
  fs::rename(ToPosix(from), target, error);
  return Result(!error, kAccessDenied);
}

bool HostFileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (Fails("MoveFile")) return false;
  std::error_code error;
  const fs::path source = ToPosix(from), target = ToPosix(to);
  if (!fs::exists(source, error)) return Result(false, kFileNotFound);
  if (fs::exists(target, error)) return Result(false, kAlreadyExists);
  fs::rename(source, target, error);
  return Result(!error, kAccessDenied);
}

bool HostFileSystem::DeleteFile(const std::string& path) {
  if (Fails("DeleteFile")) return false;
  std::error_code error;
  return Result(fs::remove(ToPosix(path), error), kFileNotFound);
}

#include "platform/win/WindowsPlatform.h"

#include <objbase.h>

#include <cstring>
#include <vector>

#include "platform/win/Handles.h"
#include "platform/win/Windows.h"

std::uint32_t WindowsVersionInfo::GetVersion() { return ::GetVersion(); }

bool WindowsVersionInfo::GetVersionEx(std::uint32_t structSize, OsVersionInfo& info) {
  OSVERSIONINFOEXA raw;
  std::memset(&raw, 0, sizeof raw);
  raw.dwOSVersionInfoSize = structSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&raw))) return false;
#pragma GCC diagnostic pop
  info.majorVersion = raw.dwMajorVersion;
  info.minorVersion = raw.dwMinorVersion;
  info.buildNumber = raw.dwBuildNumber;
  info.platformId = raw.dwPlatformId;
  std::memcpy(info.csdVersion, raw.szCSDVersion, sizeof info.csdVersion);
  info.csdVersion[sizeof info.csdVersion - 1] = '\0';
  const bool extended = structSize >= sizeof(OSVERSIONINFOEXA);
  info.servicePackMajor = extended ? raw.wServicePackMajor : 0;
  info.servicePackMinor = extended ? raw.wServicePackMinor : 0;
  info.suiteMask = extended ? raw.wSuiteMask : 0;
  info.productType = extended ? raw.wProductType : 0;
  return true;
}

HResult WindowsComRuntime::Initialize() { return ::CoInitialize(nullptr); }

HResult WindowsComRuntime::InitializeEx(std::uint32_t flags) {
  return ::CoInitializeEx(nullptr, flags);
}

void WindowsComRuntime::Uninitialize() { ::CoUninitialize(); }

HResult WindowsComRuntime::InitializeSecurity(const ComSecuritySettings& settings) {
  SOLE_AUTHENTICATION_INFO info{};
  info.dwAuthnSvc = 0;
  info.dwAuthzSvc = 0;
  info.pAuthInfo = nullptr;
  SOLE_AUTHENTICATION_LIST list{};
  list.cAuthInfo = 1;
  list.aAuthInfo = &info;
  return ::CoInitializeSecurity(
      nullptr, -1, nullptr, nullptr, settings.authenticationLevel, settings.impersonationLevel,
      settings.withAuthenticationList ? &list : nullptr, EOAC_NONE, nullptr);
}

bool WindowsFileSystem::FindAny(const std::string& path) {
  WIN32_FIND_DATAA data;
  UniqueFindHandle found(::FindFirstFileA(path.c_str(), &data));
  return static_cast<bool>(found);
}

bool WindowsFileSystem::CopyFile(const std::string& from, const std::string& to,
                                 bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool WindowsFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool WindowsFileSystem::MoveFile(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool WindowsFileSystem::DeleteFile(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

std::uint32_t WindowsFileSystem::GetLastError() { return ::GetLastError(); }

void WindowsDebugOutput::Write(const std::string& line) { ::OutputDebugStringA(line.c_str()); }

LocalTime WindowsClock::Now() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string WindowsHostProcess::ExecutablePath(unsigned capacity) {
  std::vector<char> buffer(capacity + 1, '\0');
  const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), capacity);
  return std::string(buffer.data(), length < capacity ? length : capacity - 1);
}

#pragma once
#include "platform/Clock.h"
#include "platform/ComRuntime.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/HostProcess.h"
#include "platform/VersionInfo.h"

// The Windows implementations of the kernel, COM and file services.

class WindowsVersionInfo final : public IVersionInfo {
 public:
  std::uint32_t GetVersion() override;
  bool GetVersionEx(std::uint32_t structSize, OsVersionInfo& info) override;
};

class WindowsComRuntime final : public IComRuntime {
 public:
  HResult Initialize() override;
  HResult InitializeEx(std::uint32_t flags) override;
  void Uninitialize() override;
  HResult InitializeSecurity(const ComSecuritySettings& settings) override;
};

class WindowsFileSystem final : public IFileSystem {
 public:
  bool FindAny(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::uint32_t GetLastError() override;
};

class WindowsDebugOutput final : public IDebugOutput {
 public:
  void Write(const std::string& line) override;
};

class WindowsClock final : public IClock {
 public:
  LocalTime Now() override;
};

class WindowsHostProcess final : public IHostProcess {
 public:
  std::string ExecutablePath(unsigned capacity) override;
};

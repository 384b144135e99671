#pragma once
// Doubles of the kernel, COM and file services.
#include <cstdint>
#include <filesystem>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ComRuntime.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/HostProcess.h"
#include "platform/VersionInfo.h"

class FakeVersionInfo final : public IVersionInfo {
 public:
  std::uint32_t version = 0x1DB10106u;  // Windows 7
  // Per structure size: whether GetVersionEx answers.
  bool exSucceeds = true;
  bool basicSucceeds = true;
  OsVersionInfo info;

  std::uint32_t GetVersion() override { return version; }
  bool GetVersionEx(std::uint32_t structSize, OsVersionInfo& out) override;
};

class FakeComRuntime final : public IComRuntime {
 public:
  HResult initializeResult = hr::kOk;  // of both entries
  HResult securityResult = hr::kOk;
  // The thread entered the multithreaded apartment before the module: a
  // single-threaded entry fails, a multithreaded one nests.
  bool multithreaded = false;
  // Each CoInitializeSecurity: "list|no list, authentication N, impersonation N".
  std::vector<std::string> security;
  int depth = 0;  // entries not yet left

  HResult Initialize() override { return Enter(multithreaded ? hr::kRpcChangedMode : hr::kOk); }
  HResult InitializeEx(std::uint32_t) override {
    return Enter(multithreaded ? hr::kFalse : hr::kOk);
  }
  void Uninitialize() override { --depth; }
  HResult InitializeSecurity(const ComSecuritySettings& settings) override;

 private:
  HResult Enter(HResult apartment);
};

// The real file system of the host, with Windows paths mapped to POSIX
// ones (backslashes become slashes, a drive prefix "Z:" is dropped), and
// failures to inject per operation. Failing calls leave Windows' error
// codes for GetLastError.
class HostFileSystem final : public IFileSystem {
 public:
  // "FindAny", "CopyFile", "ReplaceFile", "MoveFile", "DeleteFile" fail on
  // every call; "MoveFile:2" on the second call only.
  std::set<std::string> failOperations;
  std::uint32_t injectedError = 5;  // ERROR_ACCESS_DENIED
  // False as on the Windows 95 family: MoveFileExA fails with 120.
  bool moveFileExImplemented = true;
  std::vector<std::string> calls;

  static std::string ToPosix(const std::string& windowsPath);

  bool FindAny(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::uint32_t GetLastError() override { return lastError_; }

 private:
  bool Fails(const std::string& operation);
  bool Result(bool succeeded, std::uint32_t error);

  std::uint32_t lastError_ = 0;
};

// The bytes of a host file, none if it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
// A text of a case or script file with its escapes (\n \r \t \xHH, or a
// backslash before any other character) replaced.
std::string Unescaped(const std::string& text);

class FakeDebugOutput final : public IDebugOutput {
 public:
  std::vector<std::string> lines;
  void Write(const std::string& line) override { lines.push_back(line); }
};

class FakeClock final : public IClock {
 public:
  LocalTime now{2026, 12, 6, 9, 5, 7};
  LocalTime Now() override { return now; }
};

// GetModuleFileNameA into a buffer of `capacity` bytes: a longer path is
// cut to capacity - 1 characters.
class FakeHostProcess final : public IHostProcess {
 public:
  std::string path = "C:\\Agent\\agent.exe";
  bool throws = false;  // as running out of memory would
  std::string ExecutablePath(unsigned capacity) override {
    if (throws) throw std::bad_alloc();
    return path.size() < capacity ? path : path.substr(0, capacity - 1);
  }
};

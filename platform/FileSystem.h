#pragma once
#include <cstdint>
#include <string>

// The Windows error codes that decide how a file is moved.
namespace file_error {
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kCallNotImplemented = 120;
}  // namespace file_error

// Files and directories, by ANSI path.
class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // FindFirstFileA finds anything at the path (a directory counts); the
  // search handle is closed again.
  virtual bool FindAny(const std::string& path) = 0;
  // CopyFileA(from, to, failIfExists).
  virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // Replaces `to` by `from` in one step (MoveFileExA with replace-existing).
  // The Windows 95 family exports MoveFileExA as a stub that fails with
  // ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  // MoveFileA: renames `from` to `to`; fails when anything is at `to`.
  virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
  // DeleteFileA.
  virtual bool DeleteFile(const std::string& path) = 0;
  // GetLastError, read right after an operation that failed.
  virtual std::uint32_t GetLastError() = 0;
};

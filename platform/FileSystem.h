#pragma once
#include <string>

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
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  // DeleteFileA.
  virtual bool DeleteFile(const std::string& path) = 0;
};

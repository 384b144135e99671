#include "platform/win/Handles.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPlatform.h"

// Apart from the other services so that a program needing only files
// (morv-agent --show) imports only these calls.

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

bool WindowsFileSystem::DeleteFile(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

bool WindowsFileSystem::MoveFile(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

std::uint32_t WindowsFileSystem::GetLastError() { return ::GetLastError(); }

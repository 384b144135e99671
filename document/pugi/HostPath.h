#pragma once
#include <string>

// A Windows path as the host sees it: a drive prefix ("C:") is dropped and
// backslashes become slashes. POSIX paths pass unchanged.
inline std::string ToHostPath(const std::string& windowsPath) {
  std::string path = windowsPath;
  if (path.size() >= 2 && path[1] == ':') path.erase(0, 2);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

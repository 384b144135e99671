// morv-agent: loads Morv.dll from its own directory and runs the inventory
// the way an agent does.
#include "platform/win/Windows.h"
// COM after the Windows headers, with their settings.
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "agent/AgentOptions.h"
#include "agent/DocumentView.h"
#include "document/win/MsxmlDom.h"
#include "include/MorvResultText.h"
#include "platform/win/Handles.h"
#include "platform/win/WindowsPlatform.h"

namespace {

std::string OwnDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path, length);
  const auto cut = text.find_last_of('\\');
  return cut == std::string::npos ? std::string(".") : text.substr(0, cut);
}

std::string ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return ::GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

bool EnsureDirectory(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

// Output without the printf family: mingw's printf is built for the Pentium
// Pro and would bring its instructions into the agent.
void Say(std::FILE* stream, const std::string& text) { std::fputs(text.c_str(), stream); }

// COM entered for this thread while it lives, and left only if it was.
class ComApartment {
 public:
  ComApartment() : entered_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (entered_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_;
};

// Prints the document without loading the module.
int Show(const std::string& path) {
  ComApartment com;
  WindowsFileSystem files;
  MsxmlDomFactory dom;
  DocumentView view;
  const ShowOutcome outcome = ReadDocumentView(path, files, &dom, view);
  Say(stdout, "document: " + path + "\n" + FormatDocumentView(outcome, view));
  return ShowExitStatus(outcome);
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseAgentOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    if (!parsed.error.empty()) Say(stderr, "morv-agent: " + parsed.error + "\n");
    std::fputs(kAgentUsage, parsed.error.empty() ? stdout : stderr);
    return parsed.error.empty() ? 0 : 2;
  }
  const AgentOptions& options = *parsed.options;
  if (options.show) return Show(options.documentPath);

  const std::string dir = OwnDirectory();
  if (options.createStaging &&
      !(EnsureDirectory(dir + "\\Results") && EnsureDirectory(dir + "\\Results\\Backup"))) {
    Say(stderr, "morv-agent: cannot create " + dir + "\\Results\\Backup\n");
    return 1;
  }

  const std::string modulePath = dir + "\\Morv.dll";
  UniqueLibrary module(::LoadLibraryA(modulePath.c_str()));
  if (!module) {
    const DWORD error = ::GetLastError();
    Say(stderr,
        "morv-agent: cannot load " + modulePath + " (error " + std::to_string(error) + ")\n");
    return 1;
  }
  // FARPROC to the real signature, through the generic function type.
  const auto getHwInv = reinterpret_cast<GetHWInvProc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(module.Get(), "GetHWInv")));
  if (!getHwInv) {
    Say(stderr, "morv-agent: Morv.dll has no GetHWInv export\n");
    return 1;
  }

  const std::string deviceId = options.deviceId.value_or(ComputerName());
  int result = 0;
  for (int run = 1; run <= options.runs; ++run) {
    int status = -1;
    char timestamp[32] = {};
    result = getHwInv(options.detailMode, deviceId.c_str(), options.documentPath.c_str(), &status,
                      timestamp);
    Say(stdout, "result: " + std::to_string(result) + " (" + MorvResultText(result) +
                    ")\nstatus: " + std::to_string(status) + "\ntimestamp: " + timestamp + "\n");
  }
  return result == MORV_OK ? 0 : 1;
}

// The Windows registry with the contract fixture imported by reg.exe.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/Windows.h"
#include "registry/RegistryUnderTest.h"
#include "registry/win/WindowsRegistry.h"

namespace {

bool ImportFixture() {
  std::string path = MORV_REGISTRY_FIXTURES "/regutil.reg";
  for (char& c : path)
    if (c == '/') c = '\\';
  std::string command = "reg.exe import \"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return code == 0;
}

}  // namespace

std::unique_ptr<IRegistry> MakeRegistryUnderTest() {
  static const bool imported = ImportFixture();
  EXPECT_TRUE(imported) << "reg.exe import of the fixture failed";
  return std::make_unique<WindowsRegistry>();
}

bool RegistryHasFaultMarkers() { return false; }

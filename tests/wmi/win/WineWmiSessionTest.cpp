// CWmi's COM entry and security in a fresh process: nothing before this
// test may set the process's COM security.
#include <gtest/gtest.h>

#include "entry/MorvApp.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPlatform.h"
#include "wmi/Wmi.h"
#include "wmi/win/WindowsWmiService.h"

namespace {

// Wine's CoInitializeSecurity accepts every call, so the second run there
// cannot see RPC_E_TOO_LATE.
bool UnderWine() {
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(WmiSession, SecondInitializeInTheProcessFindsSecuritySet) {
  CMorvApp app;
  WindowsVersionInfo version;
  WindowsComRuntime com;
  WindowsWmiService service;
  {
    CWmi first(app, version, com, &service);
    EXPECT_EQ(first.Initialize(), 1);
  }
  {
    CWmi second(app, version, com, &service);
    EXPECT_EQ(second.Initialize(), UnderWine() ? 1 : -23);
  }
  // Both objects left COM again: the thread may now enter the other apartment.
  constexpr std::uint32_t kMultithreaded = 0;
  const HResult other = com.InitializeEx(kMultithreaded);
  EXPECT_EQ(other, hr::kOk);
  if (Succeeded(other)) com.Uninitialize();
}

}  // namespace

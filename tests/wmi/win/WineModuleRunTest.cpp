// The whole collection through the real module, on the Windows version
// that wine-run makes this program see.
#include <gtest/gtest.h>

#include <string>

#include "include/Morv.h"
#include "platform/VersionInfo.h"
#include "platform/win/Windows.h"

namespace {

bool IsWmiFailure(int code) {
  return code == -100 || code == -21 || code == -22 || code == -101 ||
         (code <= -116 && code >= -126);
}

TEST(ModuleRun, MonitorRefusalEndsTheRunOnNtOnly) {
  HMODULE module = ::LoadLibraryA(MORV_MODULE);
  ASSERT_NE(module, nullptr) << MORV_MODULE;
  auto run = reinterpret_cast<GetHWInvProc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(module, "GetHWInv")));
  ASSERT_NE(run, nullptr);

  char dir[MAX_PATH];
  ASSERT_NE(::GetTempPathA(sizeof dir, dir), 0u);
  const std::string document = std::string(dir) + "wmi-module-run.xml";
  ::DeleteFileA(document.c_str());

  int status = 77;
  char stamp[15] = "unset";
  const int result = run(1, "device", document.c_str(), &status, stamp);
  if (IsNtFamily(::GetVersion())) {
    EXPECT_EQ(result, -122);
    EXPECT_EQ(status, 1);  // first call of the load
    EXPECT_STREQ(stamp, "");
    EXPECT_EQ(::GetFileAttributesA(document.c_str()), INVALID_FILE_ATTRIBUTES);
  } else {
    // The run reached the document step: nothing was at the path, so the
    // status is that of a fresh build.
    EXPECT_FALSE(IsWmiFailure(result)) << result;
    EXPECT_EQ(status, 1);
  }
  ::DeleteFileA(document.c_str());
  ::FreeLibrary(module);
}

}  // namespace

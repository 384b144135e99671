#include <gtest/gtest.h>

#include "doubles/FakeRegistry.h"
#include "registry/RegistryUnderTest.h"

std::unique_ptr<IRegistry> MakeRegistryUnderTest() {
  auto registry = std::make_unique<FakeRegistry>();
  std::string error;
  EXPECT_TRUE(registry->LoadFile(MORV_FIXTURES "/registry/regutil.reg", &error)) << error;
  return registry;
}

bool RegistryHasFaultMarkers() { return true; }

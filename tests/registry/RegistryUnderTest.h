#pragma once
#include <memory>

#include "registry/Registry.h"

// The registry the contract tests run against, holding the keys of
// fixtures/registry/regutil.reg: the in-memory double on the host, the
// Windows registry (with the fixture imported) under Wine.
std::unique_ptr<IRegistry> MakeRegistryUnderTest();
// Whether the registry honours the ;@ fault markers of the fixtures.
bool RegistryHasFaultMarkers();

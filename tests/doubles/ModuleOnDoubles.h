#pragma once
// The whole module on the host: the real steps over a double of every
// platform service, each able to fail, with the files in a temporary
// directory laid out like an agent installation.
#include <filesystem>
#include <string>

#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "doubles/FakeWmi.h"
#include "doubles/FaultyDom.h"
#include "doubles/ProcessorDoubles.h"
#include "doubles/ScriptedProcessor.h"
#include "entry/HwInvCall.h"
#include "entry/MorvApp.h"
#include "platform/Platform.h"

class ModuleOnDoubles {
 public:
  // `dir` is emptied and holds the agent's directory and the document.
  explicit ModuleOnDoubles(const std::filesystem::path& dir);

  // One call of the export with detail mode 1; fills status and stamp.
  int Run();
  // The doubles answer as the system whose GetVersion value is given does
  // (versions::kWin95, kWin98, kNt4 or kWin7), lacking what it lacks.
  void ActAs(std::uint32_t getVersion);

  FakeVersionInfo version;
  FakeComRuntime com;
  HostFileSystem files;
  FakeDebugOutput debug;
  FakeClock clock;
  FakeHostProcess host;
  FakeSystemMetrics metrics;
  FakeMemoryStatus memory;
  FakeDrives drives;
  FakePowerPolicy power;
  HostProfileReader profile;
  FakeRegistry registry;
  RecordedProcessor processor;
  SteppingTimer timer;
  FakeWmiService wmi;
  PugiDomFactory pugi;
  FaultyDomFactory dom{pugi};
  Platform platform;
  CMorvApp app;
  HwInvCall call;

  std::filesystem::path dir;
  std::string documentPath;  // in Windows form
  int status = -1;
  char stamp[15] = {};
};

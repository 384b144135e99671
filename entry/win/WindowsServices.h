#pragma once
// The Windows implementation of every platform service, bound into one
// Platform: what the module runs on, and what Windows programs that drive
// the module's parts directly (benchmarks, tests) run on too.
#include "cpu/win/WindowsProcessor.h"
#include "document/win/MsxmlDom.h"
#include "platform/Platform.h"
#include "platform/win/WindowsPlatform.h"
#include "platform/win/WindowsProfileReader.h"
#include "platform/win/WindowsSystemFacts.h"
#include "registry/win/WindowsRegistry.h"
#include "wmi/win/WindowsWmiService.h"

struct WindowsServices {
  WindowsVersionInfo version;
  WindowsComRuntime com;
  WindowsFileSystem files;
  WindowsDebugOutput debug;
  WindowsClock clock;
  WindowsHostProcess host;
  WindowsSystemMetrics metrics;
  WindowsMemoryStatus memory;
  WindowsDrives drives;
  WindowsPowerPolicy power;
  WindowsRegistry registry;
  WindowsWmiService wmi;
  WindowsProcessor processor;
  WindowsTimer timer;
  WindowsProfileReader profile;
  MsxmlDomFactory dom;
  Platform platform;

  WindowsServices() {
    platform.version = &version;
    platform.com = &com;
    platform.files = &files;
    platform.debug = &debug;
    platform.clock = &clock;
    platform.host = &host;
    platform.metrics = &metrics;
    platform.memory = &memory;
    platform.drives = &drives;
    platform.power = &power;
    platform.registry = &registry;
    platform.wmi = &wmi;
    platform.processor = &processor;
    platform.timer = &timer;
    platform.profile = &profile;
    platform.dom = &dom;
  }
  WindowsServices(const WindowsServices&) = delete;
  WindowsServices& operator=(const WindowsServices&) = delete;
};

#pragma once

// Every platform service the module uses, one interface each. The DLL
// binds the Windows implementations; tests bind doubles and may leave the
// services a test does not reach null.
class IVersionInfo;
class IComRuntime;
class IFileSystem;
class IDebugOutput;
class IClock;
class IHostProcess;
class ISystemMetrics;
class IMemoryStatus;
class IDrives;
class IPowerPolicy;
class IProfileReader;
class IRegistry;
class IProcessor;
class ITimer;
class IWmiService;
class IDomFactory;

struct Platform {
  IVersionInfo* version = nullptr;    // platform/VersionInfo.h
  IComRuntime* com = nullptr;         // platform/ComRuntime.h
  IFileSystem* files = nullptr;       // platform/FileSystem.h
  IDebugOutput* debug = nullptr;      // platform/DebugOutput.h
  IClock* clock = nullptr;            // platform/Clock.h
  IHostProcess* host = nullptr;       // platform/HostProcess.h
  ISystemMetrics* metrics = nullptr;  // platform/SystemMetrics.h
  IMemoryStatus* memory = nullptr;    // platform/MemoryStatus.h
  IDrives* drives = nullptr;          // platform/Drives.h
  IPowerPolicy* power = nullptr;      // platform/PowerPolicy.h
  IProfileReader* profile = nullptr;  // platform/ProfileReader.h
  IRegistry* registry = nullptr;      // registry/Registry.h
  IProcessor* processor = nullptr;    // cpu/Processor.h
  ITimer* timer = nullptr;            // cpu/Timer.h
  IWmiService* wmi = nullptr;         // wmi/WmiService.h
  IDomFactory* dom = nullptr;         // document/DomFactory.h
};

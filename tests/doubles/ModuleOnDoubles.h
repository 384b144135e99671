#pragma once
// The whole module on the host: the module as the DLL loads it, over a
// double of every platform service, set up by the directives of a case
// file, with its files in a directory laid out like an agent installation:
//   DIR/AgentHardwareAsset.XML             the document path
//   DIR/agent/agent.exe                    the host executable (not a file)
//   DIR/agent/Results/Backup/              the staging directory
#include <filesystem>
#include <memory>
#include <string>

#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeSystemFacts.h"
#include "doubles/FakeWmi.h"
#include "doubles/FaultyDom.h"
#include "doubles/ProcessorDoubles.h"
#include "doubles/ScriptedProcessor.h"
#include "entry/LoadedModule.h"
#include "platform/Platform.h"

class ModuleOnDoubles {
 public:
  // `dir`, suffixed with the process id, is emptied. The machine: Windows 7, WMI and the registry
  // empty, a processor that answers no CPUID leaf, 8 GiB, a fixed drive C: and a CD-ROM drive D:, a
  // power-policy call that fails with 5.
  explicit ModuleOnDoubles(const std::filesystem::path& dir);

  // One directive of a case file, FILE arguments relative to `base`:
  //   windows win95|win98|winme|nt40|win2k|winxp|win2003|vista|win7|default
  //       the version wine-run --version reports (default: none asked for,
  //       a Windows 7 workstation), lacking what that system
  //       lacks: MoveFileExA on the 9x family, the power library on 95 and NT 4.0
  //   wmi FILE | wmi-line STATEMENT    the WMI fixture, or one more statement of it
  //   wmi-fault [locator=HR] [connect=HR] [blanket=HR]
  //   registry FILE | processor FILE   a .reg tree, a processor recording
  //   memory BASIC|- EXTENDED|-        the totals of the two memory calls (- missing)
  //   drive LETTER fixed|cdrom|removable [fails]
  //   power refused ERROR | power N...  as FakePowerPolicy::Set reads them
  //   previous FILE|directory          what stands at the document path
  //   agent-file NAME FILE             a file in the host's directory
  //   leave NAME FILE                  a file in DIR, as a run stopped midway may leave it
  //   host-dir LENGTH                  the host's directory padded to LENGTH characters, its
  //       executable deeper, past the 256-byte buffer the module reads the path into
  //   no-staging                       no Results\Backup in the host's directory
  //   apartment mta                    the caller's thread is in the multithreaded apartment
  //   fault com-entry HR | com-security HR | version-ex | version | attach | reenter |
  //         dom-create N | dom-throw N | dom-save N | dom-interrupt N | file OPERATION[:N] [ERROR]
  // False with `error` set for a directive it does not know.
  bool Apply(const std::string& directive, const std::filesystem::path& base, std::string& error);

  // One call of the export; the first attaches the module. Each call is a
  // second later than the one before.
  int Run(bool withDevice = true, bool withDocument = true, bool withStatus = true,
          bool withStamp = true);

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

  std::filesystem::path dir, hostDir;
  std::string documentPath;  // in Windows form
  int detail = 1;
  std::string device = "case";
  int status = -7;
  char stamp[15] = "-";
  std::string reentered;  // the result of a call made during a run (fault reenter)

 private:
  void Layout(std::size_t hostDirLength);

  std::unique_ptr<LoadedModule> module_;
  bool attached_ = false;
};

std::string WindowsForm(const std::filesystem::path& path);

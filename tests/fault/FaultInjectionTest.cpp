// Every platform operation the module calls fails in turn, on NT-family
// and 9x-family versions (the doubles lacking what each system lacks), on
// a first run and on a run with a previous document.
// Each failure gives exactly its result code, leaves the document at the
// agent's path whole (the old one, or the new one when the run succeeds),
// releases every key, WMI object and COM entry, and leaks nothing (the
// suite runs under LeakSanitizer).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../document/AssetDocumentChecks.h"
#include "doubles/FakePlatform.h"
#include "doubles/ModuleOnDoubles.h"
#include "tracking/DocumentReplacement.h"

namespace {

namespace fs = std::filesystem;

using Arrange = std::function<void(ModuleOnDoubles&)>;

struct Fault {
  std::string name;
  Arrange arrange;
  int onNt;  // result on an NT-family version
  int on9x;  // result on a 9x-family version
  // When set, a run with this fault instead writes the same document.
  Arrange sameDocumentAs = nullptr;
};

constexpr HResult kFail = static_cast<HResult>(0x80004005u);
constexpr HResult kWmiFailed = static_cast<HResult>(0x80041001u);
constexpr int kGoesOn = 0;

const char* const kClasses[] = {
    "Win32_OperatingSystem", "Win32_Processor",      "Win32_PhysicalMemory",
    "Win32_DiskDrive",       "Win32_LogicalDisk",    "Win32_VideoController",
    "Win32_DesktopMonitor",  "Win32_NetworkAdapter", "Win32_NetworkAdapterConfiguration",
    "Win32_CDROMDrive",      "Win32_SoundDevice"};

void Behave(ModuleOnDoubles& m, const std::string& className, HResult refusal,
            std::optional<std::size_t> stopAfter, WmiNext stop) {
  WmiFixtureBehaviour behaviour;
  behaviour.className = className;
  behaviour.refusal = refusal;
  behaviour.stopAfter = stopAfter;
  behaviour.stop = stop;
  m.wmi.fixture.behaviours.push_back(behaviour);
}

// Faults that do not depend on a previous document.
std::vector<Fault> CollectionAndPlatformFaults() {
  std::vector<Fault> faults = {
      {"COM entry", [](ModuleOnDoubles& m) { m.com.initializeResult = kFail; }, -100, -100},
      {"COM security", [](ModuleOnDoubles& m) { m.com.securityResult = kFail; }, -100, -100},
      {"COM security set before",
       [](ModuleOnDoubles& m) { m.com.securityResult = hr::kRpcTooLate; }, kGoesOn, kGoesOn},
      {"WMI locator", [](ModuleOnDoubles& m) { m.wmi.locatorResult = kFail; }, -21, kGoesOn},
      {"WMI connection", [](ModuleOnDoubles& m) { m.wmi.connectResult = kFail; }, -101, kGoesOn},
      {"WMI proxy blanket", [](ModuleOnDoubles& m) { m.wmi.blanketResult = kFail; }, -22, kGoesOn},
      {"registry denies every root",
       [](ModuleOnDoubles& m) {
         m.registry.LoadText(
             "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM]\n;@deny-read\n"
             "[HKEY_LOCAL_MACHINE\\Enum]\n;@deny-read\n[HKEY_LOCAL_MACHINE\\HARDWARE]\n;@deny-"
             "read\n");
       },
       kGoesOn, kGoesOn},
      {"no drives at all", [](ModuleOnDoubles& m) { m.drives.drives.clear(); }, kGoesOn, kGoesOn},
      {"disk space calls fail",
       [](ModuleOnDoubles& m) {
         m.drives.hasEx = false;
         m.drives.drives['C'].clustersFail = true;
       },
       kGoesOn, kGoesOn},
      {"memory calls missing",
       [](ModuleOnDoubles& m) {
         m.memory.basic.reset();
         m.memory.extended.reset();
       },
       kGoesOn, kGoesOn},
      {"power policy call fails",
       [](ModuleOnDoubles& m) {
         m.power.policy.reset();
         m.power.lastError = 5;
       },
       kGoesOn, kGoesOn},
      {"processor without CPUID", [](ModuleOnDoubles& m) { m.processor.cpu.idFlag = false; },
       kGoesOn, kGoesOn},
      {"version structures unreadable",
       [](ModuleOnDoubles& m) {
         m.version.exSucceeds = false;
         m.version.basicSucceeds = false;
       },
       kGoesOn, kGoesOn},
  };
  for (int i = 0; i < 11; ++i) {
    const std::string name = kClasses[i];
    const Arrange refused = [name](ModuleOnDoubles& m) {
      Behave(m, name, kWmiFailed, {}, WmiNext::End);
    };
    faults.push_back({name + " query refused", refused, -116 - i, kGoesOn});
    faults.push_back({name + " enumeration fails",
                      [name](ModuleOnDoubles& m) { Behave(m, name, 0, 0, WmiNext::Failed); },
                      kGoesOn, kGoesOn});
    // Nothing of what came before the time-out is kept.
    faults.push_back({name + " times out after one instance",
                      [name](ModuleOnDoubles& m) { Behave(m, name, 0, 1, WmiNext::TimedOut); },
                      -116 - i, kGoesOn, refused});
  }
  return faults;
}

// Faults of the document step on a first run (nothing at the path).
std::vector<Fault> FirstRunDocumentFaults() {
  return {
      {"no document object", [](ModuleOnDoubles& m) { m.dom.failCreations = {1}; }, -200, -200},
      {"save fails", [](ModuleOnDoubles& m) { m.dom.failSaves = {1}; }, -1, -1},
      {"save stopped half-way", [](ModuleOnDoubles& m) { m.dom.interruptSaves = {1}; }, -1, -1},
      {"move into place fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"ReplaceFile"}; }, -1, kGoesOn},
      {"MoveFileExA not implemented",
       [](ModuleOnDoubles& m) { m.files.moveFileExImplemented = false; }, kGoesOn, kGoesOn},
      {"renaming the absent old document aside is refused",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"MoveFile:1"}; }, kGoesOn, -1},
      {"rename into place fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"MoveFile:2"}; }, kGoesOn, -1},
      {"deletes fail", [](ModuleOnDoubles& m) { m.files.failOperations = {"DeleteFile"}; }, kGoesOn,
       kGoesOn},
      {"document object throws", [](ModuleOnDoubles& m) { m.dom.throwCreations = {1}; }, -999,
       -999},
  };
}

// Faults of the document step when a previous document exists.
std::vector<Fault> ComparisonDocumentFaults() {
  return {
      {"no document object for the new one", [](ModuleOnDoubles& m) { m.dom.failCreations = {1}; },
       -200, -200},
      {"no document object for the previous", [](ModuleOnDoubles& m) { m.dom.failCreations = {2}; },
       -200, -200},
      {"previous document's object throws", [](ModuleOnDoubles& m) { m.dom.throwCreations = {2}; },
       -999, -999},
      {"staging save fails", [](ModuleOnDoubles& m) { m.dom.failSaves = {1}; }, -1, -1},
      {"staging save stopped half-way", [](ModuleOnDoubles& m) { m.dom.interruptSaves = {1}; }, -1,
       -1},
      {"copy beside the document fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"CopyFile"}; }, -206, -206},
      {"move over the document fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"ReplaceFile"}; }, -206, kGoesOn},
      {"MoveFileExA not implemented",
       [](ModuleOnDoubles& m) { m.files.moveFileExImplemented = false; }, kGoesOn, kGoesOn},
      {"rename of the old document aside fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"MoveFile:1"}; }, kGoesOn, -206},
      {"rename of the new document into place fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"MoveFile:2"}; }, kGoesOn, -206},
      {"delete of the old document fails",
       [](ModuleOnDoubles& m) { m.files.failOperations = {"DeleteFile"}; }, kGoesOn, kGoesOn},
      {"an old document left aside by a stopped run",
       [](ModuleOnDoubles& m) { std::ofstream(m.dir / "AgentHardwareAsset.XML.old") << "<old/>"; },
       kGoesOn, kGoesOn},
      {"previous document broken",
       [](ModuleOnDoubles& m) { std::ofstream(m.dir / "AgentHardwareAsset.XML") << "<TS_Root>"; },
       -203, -203},
      {"no staging directory",
       [](ModuleOnDoubles& m) { fs::remove_all(m.dir / "agent" / "Results"); }, -1, -1},
  };
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class FaultInjectionTest : public ::testing::Test {
 protected:
  fs::path Dir() const {
    return fs::temp_directory_path() /
           ("morv-fault-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }

  // A module on `version`; with `previous`, a healthy run has left a
  // document to compare with.
  static void Prepare(ModuleOnDoubles& m, std::uint32_t version, bool previous) {
    m.ActAs(version);
    if (!previous) return;
    EXPECT_EQ(m.Run(), 0);
    // A later run: its document differs from the previous one at least in
    // its timestamps.
    ++m.clock.now.second;
    // Faults count from the faulty run.
    m.dom.creations = m.dom.saves = 0;
    m.files.calls.clear();
  }

  // Runs each fault on two systems of each family.
  void RunAll(const std::vector<Fault>& faults, bool previous) {
    for (const Fault& fault : faults) {
      for (const std::uint32_t version :
           {versions::kWin7, versions::kNt4, versions::kWin95, versions::kWin98}) {
        const bool nt = IsNtFamily(version);
        SCOPED_TRACE(fault.name + " on " + std::to_string(version & 0xFF) + "." +
                     std::to_string((version >> 8) & 0xFF) + (nt ? " NT" : " 9x"));
        ModuleOnDoubles m(Dir());
        Prepare(m, version, previous);
        const fs::path document = m.dir / "AgentHardwareAsset.XML";
        const std::string aside = AsidePathOf(document.string());
        fault.arrange(m);
        const bool hadDocument = fs::is_regular_file(document);
        const std::string before = hadDocument ? Read(document) : "";
        const bool keepsAside = fs::exists(aside) || m.files.failOperations.count("DeleteFile");

        const int result = m.Run();
        if (fault.sameDocumentAs) {
          ModuleOnDoubles other(Dir().string() + "-other");
          Prepare(other, version, previous);
          fault.sameDocumentAs(other);
          EXPECT_EQ(other.Run(), result);
          EXPECT_EQ(Read(other.dir / "AgentHardwareAsset.XML"), Read(document));
          fs::remove_all(other.dir);
        }

        EXPECT_EQ(result, nt ? fault.onNt : fault.on9x);
        if (result == 0) {
          EXPECT_EQ(DocumentProblems(document.string()), "");
          EXPECT_NE(Read(document), before);
        } else if (hadDocument) {
          EXPECT_EQ(Read(document), before);
        } else {
          EXPECT_FALSE(fs::exists(document));
        }
        EXPECT_FALSE(fs::exists(SidePathOf(document.string())));
        if (!keepsAside) {
          EXPECT_FALSE(fs::exists(aside));
        }
        EXPECT_TRUE(m.status == 0 || m.status == 1);
        EXPECT_EQ(m.registry.OpenHandles(), 0u);
        EXPECT_EQ(m.registry.badCloses, 0);
        EXPECT_EQ(m.wmi.live, 0);
        EXPECT_EQ(m.com.depth, 0);
        fs::remove_all(m.dir);
      }
    }
  }
};

TEST_F(FaultInjectionTest, CollectionAndPlatformOnAFirstRun) {
  RunAll(CollectionAndPlatformFaults(), false);
}

TEST_F(FaultInjectionTest, CollectionAndPlatformWithAPreviousDocument) {
  RunAll(CollectionAndPlatformFaults(), true);
}

TEST_F(FaultInjectionTest, DocumentStepOnAFirstRun) { RunAll(FirstRunDocumentFaults(), false); }

TEST_F(FaultInjectionTest, DocumentStepWithAPreviousDocument) {
  RunAll(ComparisonDocumentFaults(), true);
}

}  // namespace

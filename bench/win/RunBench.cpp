// A run of the module against its floor, side by side in one process:
// GetHWInv (first run and comparison run) and the floor client alternate,
// then the module's own steps are timed one by one, then the parts of the
// document step, then the working set is followed over many runs in one
// load. Prints "key value" lines.
//
//   run-bench MODULE_DLL WORK_DIR [REPEATS [RUNS]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/ProcessMemory.h"
#include "bench/common/TimedRunSteps.h"
#include "bench/win/FloorClient.h"
#include "document/AssetDocumentBuilder.h"
#include "document/DomAccess.h"
#include "entry/InventorySummary.h"
#include "entry/ModuleRunSteps.h"
#include "entry/MorvApp.h"
#include "entry/RunDriver.h"
#include "entry/win/WindowsServices.h"
#include "include/Morv.h"
#include "platform/win/Windows.h"
#include "tracking/ChangeComparison.h"

namespace {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void Print(const char* key, double value) { std::printf("%s %.6g\n", key, value); }

// Milliseconds `part` takes.
template <typename Part>
double Timed(Part&& part) {
  const double start = Now();
  part();
  return (Now() - start) * 1e3;
}

// The parts of the document step, each timed alone on the store of a real
// collection, inside its COM entry: what the module does beyond the
// floor's queries, besides the fallbacks.
void PrintDocumentParts(WindowsServices& services, const std::string& workDir, int repeats) {
  CMorvApp app;
  app.InitInstance(services.host);
  app.m_nDetailMode = 1;
  ModuleRunSteps moduleSteps(services.platform);
  const std::string built = workDir + "\\PartsBuilt.xml";
  const std::string moved = workDir + "\\PartsMoved.xml";
  const std::string copied = workDir + "\\PartsCopied.xml";
  IFileSystem& files = services.files;
  enum Part { kObject, kTree, kSave, kExists, kPrevious, kCopy, kMove, kPower, kParts };
  const char* const kKeys[kParts] = {
      "part_document_object_ms", "part_tree_ms", "part_save_ms", "part_exists_ms",
      "part_previous_read_ms",   "part_copy_ms", "part_move_ms", "part_power_ms"};
  std::vector<std::vector<double>> times(kParts);
  for (int i = 0; i < 2 * repeats; ++i) {
    app.BeginRun();
    const std::unique_ptr<IWmiSession> wmi = moduleSteps.CreateWmiSession(app);
    wmi->Initialize();
    wmi->Collect();
    times[kPower].push_back(Timed([&] { moduleSteps.ReadPowerPolicy(app); }));
    times[kObject].push_back(Timed([&] {
      DomAccess dom(services.platform.dom);
      dom.CreateDocument(DomAccess::kProgId);
    }));
    DomAccess dom(services.platform.dom);
    times[kTree].push_back(Timed([&] { BuildAssetTree(app, dom, services.clock); }));
    times[kSave].push_back(Timed([&] { dom.Save(built); }));
    times[kExists].push_back(Timed([&] { FileExists(files, built); }));
    InventorySummary previous;
    std::string stamp;
    times[kPrevious].push_back(
        Timed([&] { ReadPreviousSummary(built, previous, stamp, services.platform.dom); }));
    times[kCopy].push_back(Timed([&] { files.CopyFile(built, copied, false); }));
    times[kMove].push_back(Timed([&] { files.ReplaceFile(copied, moved); }));
    app.ClearStore();
  }
  app.ExitInstance();
  for (const std::string& path : {built, moved, copied}) ::DeleteFileA(path.c_str());
  for (int part = 0; part < kParts; ++part) Print(kKeys[part], Median(times[part]));
}

// Side by side: the ratio of each pair, then the median of the ratios.
double MedianRatio(const std::vector<double>& runs, const std::vector<double>& floors) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < runs.size() && i < floors.size(); ++i)
    ratios.push_back(runs[i] / floors[i]);
  return Median(ratios);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: run-bench MODULE_DLL WORK_DIR [REPEATS [RUNS]]\n");
    return 2;
  }
  const std::string workDir = argv[2];
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 9;
  const int runs = argc > 4 ? std::atoi(argv[4]) : 1000;
  const std::string document = workDir + "\\AssetDocument.xml";
  const std::string splitDocument = workDir + "\\SplitDocument.xml";

  // The module looks for Results\Backup beside the host executable.
  char exe[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string hostDir = HostDirectoryOf(exe);
  ::CreateDirectoryA((hostDir + "\\Results").c_str(), nullptr);
  ::CreateDirectoryA((hostDir + "\\Results\\Backup").c_str(), nullptr);

  const ProcessMemory before = ReadProcessMemory();
  const HMODULE module = ::LoadLibraryA(argv[1]);
  if (!module) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  const auto getHwInv = reinterpret_cast<GetHWInvProc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(module, "GetHWInv")));
  if (!getHwInv) return 1;

  int status = 0;
  char stamp[15] = {};
  auto timedRun = [&](int& result) {
    const double start = Now();
    result = getHwInv(1, "bench", document.c_str(), &status, stamp);
    return Now() - start;
  };
  int floorRan = 0;
  auto timedFloor = [&] {
    const double start = Now();
    floorRan = RunFloorClient();
    return Now() - start;
  };

  // Warm: the first call loads WMI and MSXML into the process.
  int firstResult = 0, compareResult = 0;
  timedRun(firstResult);
  const ProcessMemory afterFirst = ReadProcessMemory();
  timedFloor();

  std::vector<double> first, compare, floor;
  // The order alternates so that neither side always follows the other.
  for (int i = 0; i < repeats; ++i) {
    if (i % 2 == 1) floor.push_back(timedFloor());
    ::DeleteFileA(document.c_str());
    first.push_back(timedRun(firstResult));
    compare.push_back(timedRun(compareResult));
    if (i % 2 == 0) floor.push_back(timedFloor());
  }
  Print("repeats", repeats);
  Print("first_result", firstResult);
  Print("comparison_result", compareResult);
  Print("floor_queries_ran", floorRan);
  Print("first_run_ms", Median(first) * 1e3);
  Print("comparison_run_ms", Median(compare) * 1e3);
  Print("floor_ms", Median(floor) * 1e3);
  Print("first_over_floor", MedianRatio(first, floor));
  Print("comparison_over_floor", MedianRatio(compare, floor));

  // The module's steps in this process, timed one by one.
  {
    WindowsServices services;
    CMorvApp app;
    app.InitInstance(services.host);
    app.m_nDetailMode = 1;  // as GetHWInv(1, ...) sets it
    ModuleRunSteps moduleSteps(services.platform);
    std::vector<double> collection, fallbacks, power, building, comparing, total;
    for (int i = 0; i < 2 * repeats; ++i) {
      if (i % 2 == 0) ::DeleteFileA(splitDocument.c_str());
      RunSplit split;
      TimedRunSteps steps(moduleSteps, split);
      RunContext context{app,          steps,          services.version,
                         services.com, services.files, services.debug};
      const double start = Now();
      RunInventory(context, "bench", splitDocument);
      total.push_back(Now() - start);
      collection.push_back(split.collection);
      fallbacks.push_back(split.fallbacks);
      power.push_back(split.power);
      (i % 2 == 0 ? building : comparing).push_back(i % 2 == 0 ? split.building : split.comparing);
    }
    app.ExitInstance();
    Print("split_run_ms", Median(total) * 1e3);
    Print("split_collection_ms", Median(collection) * 1e3);
    Print("split_fallbacks_ms", Median(fallbacks) * 1e3);
    Print("split_power_ms", Median(power) * 1e3);
    Print("split_building_ms", Median(building) * 1e3);
    Print("split_comparing_ms", Median(comparing) * 1e3);
  }
  {
    WindowsServices services;
    PrintDocumentParts(services, workDir, repeats);
  }

  // Working set over many comparison runs in one load.
  std::vector<double> resident, committed;
  resident.reserve(2);
  committed.reserve(2);
  for (int i = 1; i <= runs; ++i) {
    int result = 0;
    timedRun(result);
    if (i != 10 && i != runs) continue;
    const ProcessMemory now = ReadProcessMemory();
    resident.push_back(now.workingSet / 1024.0);
    committed.push_back(now.privateBytes / 1024.0);
  }
  const ProcessMemory last = ReadProcessMemory();
  Print("resident_before_kb", before.workingSet / 1024.0);
  Print("peak_after_first_run_kb", afterFirst.peakWorkingSet / 1024.0);
  Print("peak_of_one_run_kb",
        (static_cast<double>(afterFirst.peakWorkingSet) - before.workingSet) / 1024.0);
  Print("memory_runs", runs);
  if (resident.size() == 2) {
    Print("resident_after_run_10_kb", resident[0]);
    Print("resident_after_last_run_kb", resident[1]);
    Print("growth_kb", resident[1] - resident[0]);
    Print("private_growth_kb", committed[1] - committed[0]);
  }
  Print("private_after_last_run_kb", last.privateBytes / 1024.0);
  Print("peak_after_last_run_kb", last.peakWorkingSet / 1024.0);

  // The floor client as many times: growth that WMI itself shows.
  std::vector<double> floorResident;
  floorResident.reserve(2);
  for (int i = 1; i <= runs; ++i) {
    timedFloor();
    if (i == 10 || i == runs) floorResident.push_back(ReadProcessMemory().workingSet / 1024.0);
  }
  if (floorResident.size() == 2) Print("floor_growth_kb", floorResident[1] - floorResident[0]);
  ::FreeLibrary(module);
  return 0;
}

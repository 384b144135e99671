// Whole runs over the host doubles: where a run's time goes, its peak
// resident memory and how resident memory moves over many runs in one
// load. Prints "key value" lines for the results script.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/ProcessMemory.h"
#include "bench/common/TimedRunSteps.h"
#include "doubles/FakePlatform.h"
#include "doubles/ModuleOnDoubles.h"
#include "entry/ModuleRunSteps.h"
#include "entry/MorvApp.h"
#include "entry/RunDriver.h"
#include "platform/Platform.h"

namespace {

// The doubles record what they were asked; that must not count as the
// module's memory.
void ForgetCalls(ModuleOnDoubles& d) {
  d.com.security.clear();
  d.files.calls.clear();
  d.debug.lines.clear();
  d.wmi.calls.clear();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void Print(const char* key, double value) { std::printf("%s %.6g\n", key, value); }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("morv-bench-runs-" + std::to_string(::getpid()));
  const std::filesystem::path documentFile = root / "AgentHardwareAsset.XML";
  std::unique_ptr<ModuleOnDoubles> doubles;
  try {
    doubles = std::make_unique<ModuleOnDoubles>(root);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fixtures: %s\n", error.what());
    return 1;
  }
  ModuleOnDoubles& d = *doubles;
  std::string error;
  for (const char* line :
       {"windows winxp", "wmi workstation.wmi", "registry xp.reg", "processor p4.txt"}) {
    if (!d.Apply(line, MORV_MACHINES, error)) {
      std::fprintf(stderr, "machine: %s\n", error.c_str());
      return 1;
    }
  }
  const std::string document = d.documentPath;

  const ProcessMemory before = ReadProcessMemory();
  CMorvApp app;
  app.InitInstance(d.host);
  ModuleRunSteps module(d.platform);
  // Every figure has its slot before the first run, so the benchmark's own
  // bookkeeping does not show as growth.
  enum Figure { kTotal, kCollection, kFallbacks, kPower, kBuilding, kComparing, kFigures };
  std::vector<std::vector<double>> figures(kFigures, std::vector<double>(runs + 1, 0.0));
  std::vector<char> firstRun(runs + 1, 0);
  std::vector<std::uint64_t> residentAfter(runs + 1, 0);
  ProcessMemory afterFirst;
  int lastResult = 0;
  bool documentWritten = false;
  for (int run = 1; run <= runs; ++run) {
    // Every tenth run starts afresh so first runs are measured too.
    if (run % 10 == 1) std::filesystem::remove(documentFile);
    firstRun[run] = !std::filesystem::exists(documentFile);
    RunSplit split;
    TimedRunSteps steps(module, split);
    RunContext context{app, steps, d.version, d.com, d.files, d.debug};
    const auto start = std::chrono::steady_clock::now();
    lastResult = RunInventory(context, "bench", document);
    figures[kTotal][run] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ForgetCalls(d);
    documentWritten = documentWritten || std::filesystem::exists(documentFile);
    figures[kCollection][run] = split.collection;
    figures[kFallbacks][run] = split.fallbacks;
    figures[kPower][run] = split.power;
    figures[kBuilding][run] = split.building;
    figures[kComparing][run] = split.comparing;
    residentAfter[run] = ReadProcessMemory().workingSet;
    if (run == 1) afterFirst = ReadProcessMemory();
  }
  app.ExitInstance();
  doubles.reset();
  std::filesystem::remove_all(root);

  Print("runs", runs);
  Print("result", lastResult);
  Print("document_written", documentWritten ? 1 : 0);
  // Medians over the first runs or over the comparison runs.
  auto median = [&](Figure figure, bool ofFirstRuns) {
    std::vector<double> values;
    for (int run = 1; run <= runs; ++run) {
      if (static_cast<bool>(firstRun[run]) == ofFirstRuns) values.push_back(figures[figure][run]);
    }
    return Median(values) * 1e3;
  };
  Print("first_run_ms", median(kTotal, true));
  Print("comparison_run_ms", median(kTotal, false));
  Print("collection_ms", median(kCollection, false));
  Print("fallbacks_ms", median(kFallbacks, false));
  Print("power_ms", median(kPower, false));
  Print("building_ms", median(kBuilding, true));
  Print("comparing_ms", median(kComparing, false));
  Print("resident_before_kb", before.workingSet / 1024.0);
  Print("peak_after_first_run_kb", afterFirst.peakWorkingSet / 1024.0);
  Print("peak_of_one_run_kb", (afterFirst.peakWorkingSet - before.workingSet) / 1024.0);
  const int early = std::min(runs, 10);
  Print("resident_after_run_10_kb", residentAfter[early] / 1024.0);
  Print("resident_after_last_run_kb", residentAfter[runs] / 1024.0);
  Print("growth_kb", (static_cast<double>(residentAfter[runs]) - residentAfter[early]) / 1024.0);
  Print("peak_after_last_run_kb", ReadProcessMemory().peakWorkingSet / 1024.0);
  return 0;
}

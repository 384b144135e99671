// Build-and-save and comparison of stores of growing size over the
// portable document backend. Reported per property so that linear cost
// reads as a flat line.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/common/StoreFiller.h"
#include "document/AssetDocumentBuilder.h"
#include "document/pugi/PugiDom.h"
#include "doubles/FakePlatform.h"
#include "entry/MorvApp.h"
#include "tracking/ChangeComparison.h"

namespace {

// The module takes Windows paths; the host doubles map "C:\\a\\b" to /a/b.
std::string WindowsForm(const std::filesystem::path& path) {
  std::string text = "C:" + path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

// A private directory per size, laid out like an agent's installation.
struct Workspace {
  explicit Workspace(int properties) {
    root = std::filesystem::temp_directory_path() /
           ("morv-bench-" + std::to_string(::getpid()) + "-" + std::to_string(properties));
    std::filesystem::create_directories(root / "Results" / "Backup");
    document = WindowsForm(root / "AssetDocument.xml");
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::filesystem::path root;
  std::string document;
};

void SetPerProperty(benchmark::State& state, int properties) {
  state.counters["properties"] = properties;
  state.counters["per_property"] = benchmark::Counter(
      properties, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BuildAndSave(benchmark::State& state) {
  const Workspace space(static_cast<int>(state.range(0)));
  CMorvApp app;
  const int properties = FillStore(app, static_cast<int>(state.range(0)));
  PugiDomFactory dom;
  FakeClock clock;
  for (auto _ : state) {
    const int result = BuildAssetDocument(app, space.document, &dom, clock);
    if (result != 0) state.SkipWithError("the document was not saved");
  }
  SetPerProperty(state, properties);
}

void Compare(benchmark::State& state) {
  const Workspace space(static_cast<int>(state.range(0)));
  CMorvApp app;
  const int properties = FillStore(app, static_cast<int>(state.range(0)));
  WindowsForm(space.root).copy(app.m_szHostDir, sizeof app.m_szHostDir - 1);
  PugiDomFactory dom;
  FakeClock clock;
  HostFileSystem files;
  FakeVersionInfo version;
  const DocumentServices services{&dom, clock, files, version};
  if (BuildAssetDocument(app, space.document, &dom, clock) != 0) {
    state.SkipWithError("the previous document was not saved");
    return;
  }
  for (auto _ : state) {
    const int result = CompareWithPrevious(app, space.document, services);
    if (result != 0) state.SkipWithError("the comparison failed");
  }
  SetPerProperty(state, properties);
}

}  // namespace

BENCHMARK(BuildAndSave)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Compare)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Build-and-save and comparison of stores of growing size over MSXML.
// Prints one line per size: properties, then median milliseconds of the
// build and of the comparison.
//
//   document-bench WORK_DIR [REPEATS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/ProcessMemory.h"
#include "bench/common/StoreFiller.h"
#include "document/AssetDocumentBuilder.h"
#include "document/win/MsxmlDom.h"
#include "entry/MorvApp.h"
// clang-format off
#include "platform/win/Windows.h"
#include <objbase.h>
// clang-format on
#include "platform/win/WindowsPlatform.h"
#include "tracking/ChangeComparison.h"

namespace {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: document-bench WORK_DIR [REPEATS]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
  ::CreateDirectoryA(dir.c_str(), nullptr);
  ::CreateDirectoryA((dir + "\\Results").c_str(), nullptr);
  ::CreateDirectoryA((dir + "\\Results\\Backup").c_str(), nullptr);
  const std::string document = dir + "\\AssetDocument.xml";

  if (FAILED(::CoInitialize(nullptr))) return 1;
  {
    MsxmlDomFactory dom;
    WindowsClock clock;
    WindowsFileSystem files;
    WindowsVersionInfo version;
    const DocumentServices services{&dom, clock, files, version};
    std::printf("size properties build_ms compare_ms build_result compare_result\n");
    for (int size : {100, 1000, 10000, 100000}) {
      CMorvApp app;
      const int properties = FillStore(app, size);
      dir.copy(app.m_szHostDir, sizeof app.m_szHostDir - 1);
      std::vector<double> build, compare;
      int built = 0, compared = 0;
      for (int i = 0; i < repeats; ++i) {
        double start = Now();
        built = BuildAssetDocument(app, document, &dom, clock);
        build.push_back(Now() - start);
        start = Now();
        compared = CompareWithPrevious(app, document, services);
        compare.push_back(Now() - start);
      }
      std::printf("%d %d %.4f %.4f %d %d\n", size, properties, Median(build) * 1e3,
                  Median(compare) * 1e3, built, compared);
      std::fflush(stdout);
    }

    // Memory of the document side alone: many builds and comparisons of a
    // small store in one load.
    CMorvApp app;
    FillStore(app, 1000);
    dir.copy(app.m_szHostDir, sizeof app.m_szHostDir - 1);
    double buildGrowth = 0, compareGrowth = 0;
    for (double* growth : {&buildGrowth, &compareGrowth}) {
      double early = 0;
      for (int i = 1; i <= 200; ++i) {
        if (growth == &buildGrowth)
          BuildAssetDocument(app, document, &dom, clock);
        else
          CompareWithPrevious(app, document, services);
        if (i == 10) early = static_cast<double>(ReadProcessMemory().privateBytes);
      }
      *growth = (static_cast<double>(ReadProcessMemory().privateBytes) - early) / 1024.0;
    }
    std::printf("build_growth_kb_per_190 %.0f\n", buildGrowth);
    std::printf("compare_growth_kb_per_190 %.0f\n", compareGrowth);
  }
  ::CoUninitialize();
  return 0;
}

#!/usr/bin/env bash
# Builds the benchmarks in Release, runs them on the host and under Wine,
# and writes bench/RESULTS.md. Benchmarks report; they never fail a test.
#
#   scripts/bench.sh    MORV_BENCH_RUNS=N: runs per load (1000)
#                       MORV_BENCH_ONLY=host|wine: one side only
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
cd "$src"
scripts/install-deps.sh >/dev/null
source scripts/wine-env.sh
runs=${MORV_BENCH_RUNS:-1000}
host_dir=$src/build/bench-host
win_dir=$src/build/bench-$MORV_WINEARCH
out=$win_dir/bench-output
mkdir -p "$out"

toolchain=cmake/toolchain-x86_64-mingw32.cmake
[ "$MORV_WINEARCH" = win32 ] && toolchain=cmake/toolchain-i686-mingw32.cmake
echo "== building (Release)"
cmake -S . -B "$host_dir" -DCMAKE_BUILD_TYPE=Release -DMORV_BENCH=ON >/dev/null
cmake --build "$host_dir" -j2 --target document-scaling host-runs clock-check >/dev/null
cmake -S . -B "$win_dir" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release -DMORV_BENCH=ON \
  >/dev/null
cmake --build "$win_dir" -j2 --target Morv run-bench document-bench clock-check save-growth \
  morv-wmi-provider \
  >/dev/null

# The counter's frequency as the kernel calibrated it, else as it reports it.
reference_mhz=$(dmesg 2>/dev/null | sed -n 's/.*tsc: Refined TSC clocksource calibration: \([0-9.]*\) MHz.*/\1/p' | tail -n 1)
reference_source="kernel TSC calibration (dmesg)"
if [ -z "$reference_mhz" ]; then
  reference_mhz=$(dmesg 2>/dev/null | sed -n 's/.*tsc: Detected \([0-9.]*\) MHz processor.*/\1/p' | tail -n 1)
  reference_source="kernel TSC detection (dmesg)"
fi
if [ -z "$reference_mhz" ]; then
  reference_mhz=$(sed -n 's/^cpu MHz[[:space:]]*: \([0-9.]*\)$/\1/p' /proc/cpuinfo | head -n 1)
  reference_source="/proc/cpuinfo cpu MHz"
fi
echo "$reference_mhz" >"$out/reference-mhz.txt"
echo "$reference_source" >"$out/reference-source.txt"

if [ "${MORV_BENCH_ONLY:-}" != wine ]; then
echo "== host: document scaling (portable backend)"
"$host_dir/bench/document-scaling" --benchmark_repetitions=7 --benchmark_min_time=0.5 \
  --benchmark_report_aggregates_only=true --benchmark_format=json >"$out/host-document.json"
echo "== host: whole runs and memory over $runs runs (doubles)"
for i in 1 2 3; do "$host_dir/bench/host-runs" "$runs" >"$out/host-runs-$i.txt"; done
echo "== host: clock measurement"
"$host_dir/bench/clock-check" "$reference_mhz" 5 >"$out/host-clock.txt"
fi

# Wine: each program runs in a fresh private prefix; within the program the
# wineserver stays warm, and every figure is timed inside the program.
bin=$win_dir/bin
winpath() { printf 'Z:%s' "$1" | sed 's#/#\\#g'; }
export MORV_BUILD_DIR=$win_dir
wine_in() { # WINE-RUN-ARGS... -- PROGRAM ARGS...
  tests/wine/wine-run --group bench "$@" 2>>"$out/wine-stderr.txt" | tr -d '\r'
}
work=$win_dir/bench-work
rm -rf "$work" && mkdir -p "$work"
cat >"$work/provider.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\CLSID\\{4590f811-1d3a-11d0-891f-00aa004b2e24}\\InprocServer32]
@="$(winpath "$bin/morv-wmi-provider.dll" | sed 's#\\#\\\\#g')"
"ThreadingModel"="Both"
REG
: >"$out/wine-stderr.txt"
if [ "${MORV_BENCH_ONLY:-}" != host ]; then
  echo "== wine: a run against its floor, Wine's WMI, Windows 98"
  wine_in --version win98 -- "$bin/run-bench.exe" "$(winpath "$bin/Morv.dll")" \
    "$(winpath "$work")" 9 200 >"$out/wine-run-builtin.txt"
  echo "== wine: a run against its floor, fixture WMI provider, Windows XP ($runs runs)"
  MORV_WMI_FIXTURE="$(winpath "$src/tests/fixtures/wmi/workstation.wmi")" \
    wine_in --version winxp --reg "$work/provider.reg" -- "$bin/run-bench.exe" \
    "$(winpath "$bin/Morv.dll")" "$(winpath "$work")" 9 "$runs" >"$out/wine-run-provider.txt"
  echo "== wine: document scaling (MSXML)"
  wine_in -- "$bin/document-bench.exe" "$(winpath "$work/documents")" 5 >"$out/wine-document.txt"
  echo "== wine: memory of a plain MSXML client saving documents"
  wine_in -- "$bin/save-growth.exe" "$(winpath "$work")" >"$out/wine-save-growth.txt"
  echo "== wine: clock measurement"
  wine_in -- "$bin/clock-check.exe" "$reference_mhz" 5 >"$out/wine-clock.txt"
fi

python3 bench/write-results.py "$out" "$MORV_WINEARCH" "$runs" >bench/RESULTS.md
echo "== wrote bench/RESULTS.md"

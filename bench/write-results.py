#!/usr/bin/env python3
"""Writes bench/RESULTS.md from the outputs scripts/bench.sh collected.

usage: write-results.py OUTPUT_DIR WINEARCH RUNS
"""
import datetime
import json
import os
import platform
import statistics
import subprocess
import sys

out, winearch, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])


def keyed(name):
    """'key value' lines as a dict of floats (or texts)."""
    values = {}
    path = os.path.join(out, name)
    if not os.path.exists(path):
        return values
    for line in open(path, encoding="utf-8", errors="replace"):
        parts = line.split()
        if len(parts) == 2:
            try:
                values[parts[0]] = float(parts[1])
            except ValueError:
                values[parts[0]] = parts[1]
    return values


def median_of(dicts, key):
    found = [d[key] for d in dicts if key in d]
    return statistics.median(found) if found else float("nan")


def f(value, digits=2):
    return "n/a" if value != value else f"{value:.{digits}f}"


def verdict(ok):
    return "**met**" if ok else "**missed**"


def machine():
    model = "unknown"
    for line in open("/proc/cpuinfo"):
        if line.startswith("model name"):
            model = line.split(":", 1)[1].strip()
            break
    mem_kb = 0
    for line in open("/proc/meminfo"):
        if line.startswith("MemTotal"):
            mem_kb = int(line.split()[1])
    try:
        wine = subprocess.run(["/usr/lib/wine/wine64", "--version"], capture_output=True,
                              text=True).stdout.strip()
    except OSError:
        wine = "unknown"
    return model, os.cpu_count(), mem_kb / 1024 / 1024, wine


lines = []
w = lines.append
model, cores, mem_gb, wine = machine()
reference = open(os.path.join(out, "reference-source.txt")).read().strip()
w("# Benchmark results")
w("")
w("Written by `scripts/bench.sh` from one run on this machine; every time is the median of several")
w("repetitions, and every ratio is taken between measurements made side by side in the same run.")
w("The machines are shared (2 cores, other builds running), so absolute times are noisy; the")
w("ratios are the figures to read.")
w("")
w("| | |")
w("|---|---|")
w(f"| date | {datetime.datetime.now().strftime('%Y-%m-%d %H:%M')} |")
w(f"| CPU | {model}, {cores} cores |")
w(f"| memory | {mem_gb:.1f} GiB |")
w(f"| kernel | {platform.release()} |")
w(f"| Wine | {wine}, {winearch} prefix |")
w("")
if winearch == "win64":
    w("This kernel cannot run 32-bit x86 code, so everything under Wine is the x86-64 build of the")
    w("same sources under 64-bit Wine; the 32-bit module itself is built but not run here.")
    w("")

# ---- 1. a run against its floor ------------------------------------------------------------
builtin = keyed("wine-run-builtin.txt")
provider = keyed("wine-run-provider.txt")
host_runs = [keyed(f"host-runs-{i}.txt") for i in (1, 2, 3)]
w("## 1. A run against its floor")
w("")
w("`GetHWInv` in detail mode 1 (first run: no document yet; comparison run: the previous")
w("document is there) alternates in one process with the floor client, which enters COM, sets")
w("COM security, connects to `ROOT\\CIMV2` and runs the module's queries (its query tables),")
w("reading the same properties and nothing else. Ratios are medians of per-repetition ratios.")
w("")
w("Two WMI set-ups: Wine's own WMI with Wine reporting Windows 98 (Wine's WMI refuses the")
w("desktop-monitor query; on the 9x family the run goes on, so the module and the floor both run")
w("the first seven queries, the seventh refused); and the test WMI provider answering from")
w("`tests/fixtures/wmi/workstation.wmi` with Windows XP, where all eleven queries run.")
w("")
w("| | Wine WMI, Windows 98 | fixture provider, Windows XP |")
w("|---|---|---|")
for key, label, digits in [
        ("repeats", "repetitions", 0),
        ("floor_queries_ran", "queries the floor ran", 0),
        ("first_result", "result of the first run", 0),
        ("comparison_result", "result of the comparison run", 0),
        ("first_run_ms", "first run, ms", 1),
        ("comparison_run_ms", "comparison run, ms", 1),
        ("floor_ms", "floor, ms", 1),
        ("first_over_floor", "**first run / floor**", 3),
        ("comparison_over_floor", "**comparison run / floor**", 3)]:
    w(f"| {label} | {f(builtin.get(key, float('nan')), digits)} | "
      f"{f(provider.get(key, float('nan')), digits)} |")
w("")
w("Split of a run: the module's own steps linked into the benchmark program and timed through a")
w("timing decorator of the run's steps (medians; collection includes entering and leaving COM).")
w("On the host the same steps run over the doubles (`tests/doubles`, pugixml backend).")
w("")
w("| step, ms | Wine WMI, Windows 98 | fixture provider, Windows XP | host, doubles |")
w("|---|---|---|---|")
for key, label in [("collection", "collection"), ("fallbacks", "fallbacks"),
                   ("power", "power"), ("building", "building (first run)"),
                   ("comparing", "comparing (comparison run)")]:
    w(f"| {label} | {f(builtin.get('split_' + key + '_ms', float('nan')))} | "
      f"{f(provider.get('split_' + key + '_ms', float('nan')))} | "
      f"{f(median_of(host_runs, key + '_ms'), 3)} |")
w(f"| whole run | {f(builtin.get('split_run_ms', float('nan')))} | "
  f"{f(provider.get('split_run_ms', float('nan')))} | "
  f"{f(median_of(host_runs, 'comparison_run_ms'), 3)} (comparison run) |")
w("")
w("Parts of the document step, each timed alone (medians, ms) on the store of a real collection")
w("inside its COM entry, in the same process: what a run does beyond the floor's queries besides")
w("the fallbacks and the power step. A first run checks for a document, builds and saves it and")
w("moves it into place; a comparison run checks, builds, reads the previous document, saves the")
w("staging file, copies it beside the document and moves the copy into place.")
w("")
w("| part, ms | Wine WMI, Windows 98 | fixture provider, Windows XP |")
w("|---|---|---|")
parts = [("exists", "document at the path? (`FindFirstFileA`)"),
         ("document_object", "a document object (`CLSIDFromProgID`, `CoCreateInstance`)"),
         ("tree", "the new document in memory (object included)"),
         ("save", "its one save"),
         ("previous_read", "reading the previous document (object, file, parse, walk)"),
         ("copy", "copying the staging file beside the document"),
         ("move", "moving a file over the document"),
         ("power", "the power step (library loaded)")]
for key, label in parts:
    w(f"| {label} | {f(builtin.get('part_' + key + '_ms', float('nan')))} | "
      f"{f(provider.get('part_' + key + '_ms', float('nan')))} |")


def part_sum(r, keys):
    return sum(r.get("part_" + k + "_ms", float("nan")) for k in keys)


first_keys = ["exists", "tree", "save", "move"]
compare_keys = ["exists", "tree", "previous_read", "save", "copy", "move"]
for label, keys, run_key in [("first run: document parts", first_keys, "first_run_ms"),
                             ("comparison run: document parts", compare_keys,
                              "comparison_run_ms")]:
    w(f"| **{label}** | {f(part_sum(builtin, keys))} | {f(part_sum(provider, keys))} |")
for label, run_key in [("first run over the floor", "first_run_ms"),
                       ("comparison run over the floor", "comparison_run_ms")]:
    w(f"| {label} | {f(builtin.get(run_key, float('nan')) - builtin.get('floor_ms', float('nan')))}"
      f" | {f(provider.get(run_key, float('nan')) - provider.get('floor_ms', float('nan')))} |")
w("")
for key, limit, label in [("first_over_floor", 1.05, "a first run costs at most 1.05 times the floor"),
                          ("comparison_over_floor", 1.10,
                           "a comparison run costs at most 1.10 times the floor")]:
    ratios = [r.get(key) for r in (builtin, provider) if key in r]
    ok = bool(ratios) and max(ratios) <= limit
    w(f"Goal: {label}: {verdict(ok)} (Wine WMI {f(builtin.get(key, float('nan')), 3)}, fixture "
      f"provider {f(provider.get(key, float('nan')), 3)}).")
    w("")

# ---- 2. document scaling ---------------------------------------------------------------------
w("## 2. Document scaling")
w("")
w("Build-and-save (`BuildAssetDocument`) and comparison (`CompareWithPrevious`, which builds the")
w("new document in memory, reads the previous one, marks, saves the staging file once, copies it")
w("beside the document and moves it into place) of stores of about 100 to 100,000 properties")
w("(filled fields spread over disk, volume, adapter and memory records), detail mode 1. Time per")
w("property = median time / properties.")
w("")


def scaling_table(rows, title):
    """rows: (size, properties, build_ms, compare_ms[, build_cpu_ms, compare_cpu_ms])"""
    w(f"### {title}")
    w("")
    has_cpu = len(rows[0]) > 4
    head = "| properties | build ms | build µs/property | compare ms | compare µs/property |"
    if has_cpu:
        head += " build CPU µs/property | compare CPU µs/property |"
    w(head)
    w("|" + "---|" * (head.count("|") - 1))
    for row in rows:
        size, props, build, compare = row[:4]
        text = (f"| {props} | {f(build)} | {f(build * 1e3 / props)} | {f(compare)} | "
                f"{f(compare * 1e3 / props)} |")
        if has_cpu:
            text += f" {f(row[4] * 1e3 / props)} | {f(row[5] * 1e3 / props)} |"
        w(text)
    w("")
    spreads = {}
    for index, name in [(2, "build"), (3, "compare")] + ([(4, "build CPU"), (5, "compare CPU")]
                                                         if has_cpu else []):
        per = [row[index] / row[1] for row in rows]
        spreads[name] = (per[-1] / per[0], per[-1] / min(per), per[-1] / per[-2])
    w("| per property | largest / smallest store | **largest / cheapest store** | "
      "100k / 10k |")
    w("|---|---|---|---|")
    for name, (end, spread, last) in spreads.items():
        w(f"| {name} | {f(end)} | {f(spread)} | {f(last)} |")
    w("")
    return spreads


# A run with MORV_BENCH_ONLY=wine may have no host figures yet.
host_json = os.path.join(out, "host-document.json")
doc = json.load(open(host_json)) if os.path.exists(host_json) else {"benchmarks": []}
medians = {}
for bench in doc["benchmarks"]:
    if bench.get("aggregate_name") != "median":
        continue
    name, size = bench["run_name"].split("/")
    medians.setdefault(int(size), {})[name] = bench
host_rows = []
for size in sorted(medians):
    b, c = medians[size]["BuildAndSave"], medians[size]["Compare"]
    host_rows.append((size, int(b["properties"]), b["real_time"], c["real_time"], b["cpu_time"],
                      c["cpu_time"]))
host_spreads = {} if not host_rows else scaling_table(
    host_rows, "Portable backend (pugixml) on the host, Google Benchmark, "
               "7 repetitions of at least 0.5 s")

wine_rows = []
path = os.path.join(out, "wine-document.txt")
for line in open(path, encoding="utf-8", errors="replace"):
    parts = line.split()
    if len(parts) == 6 and parts[0].isdigit():
        wine_rows.append((int(parts[0]), int(parts[1]), float(parts[2]), float(parts[3])))
wine_spreads = scaling_table(wine_rows, "MSXML under Wine (Wine's msxml3), 5 repetitions") \
    if wine_rows else {}

w("Reading of the goal: a document has a fixed cost (creating the DOM object, files, the")
w("summary), so the smallest store costs more per property and the literal ratio largest /")
w("smallest understates any rise. Linear cost means the cost per property does not rise again")
w("as the store grows, so the verdict takes the largest store against the cheapest size.")
w("")
for backend, spreads in [("portable backend", host_spreads), ("MSXML under Wine", wine_spreads)]:
    for name, values in spreads.items():
        w(f"- {backend}, {name}: {f(values[1])} -> {verdict(values[1] <= 1.3)}")
w("")
w("")

# ---- 3. memory -------------------------------------------------------------------------------
w("## 3. Memory")
w("")
w("Peak working set of one run: the process's peak after its first run less its working set")
w("before the module was loaded (so it includes loading the module, WMI and the XML library).")
w("Growth: working set after the last run less after the tenth, all runs in one load (the")
w("doubles' call logs are emptied after each run on the host so they do not count). Under Wine")
w("the floor client is then run as many times in the same process, to show what WMI itself adds.")
w("")
w("| | host, doubles | Wine WMI, Windows 98 | fixture provider, Windows XP |")
w("|---|---|---|---|")
host_mem = host_runs[0]
for key, label in [("memory_runs", "runs in one load"),
                   ("peak_of_one_run_kb", "peak working set of one run, KiB"),
                   ("peak_after_first_run_kb", "process peak after the first run, KiB"),
                   ("resident_after_run_10_kb", "working set after run 10, KiB"),
                   ("resident_after_last_run_kb", "working set after the last run, KiB"),
                   ("growth_kb", "**growth, KiB**"),
                   ("private_growth_kb", "private bytes growth, KiB"),
                   ("floor_growth_kb", "growth of the floor client, as many runs, KiB")]:
    host_value = host_mem.get(key, float(runs) if key == "memory_runs" else float("nan"))
    w(f"| {label} | {f(host_value, 0)} | {f(builtin.get(key, float('nan')), 0)} | "
      f"{f(provider.get(key, float('nan')), 0)} |")
w("")
documents = keyed("wine-document.txt")
w("The document side alone under Wine (MSXML), a store of about 1,000 properties: private bytes")
w(f"grew {f(documents.get('build_growth_kb_per_190', float('nan')), 0)} KiB over 190 builds and "
  f"{f(documents.get('compare_growth_kb_per_190', float('nan')), 0)} KiB over 190 comparisons.")
w("")
saves = keyed("wine-save-growth.txt")
w("A plain MSXML client (`save-growth`) building and saving documents of 1,000 elements, 90 saves")
w("after 10 to warm up, private bytes growth in KiB: by MSXML's own `save()` to a path, and as the")
w("module saves (`document/win/DocumentFile.h`: the declaration line written first, then the rest")
w("of the document saved without its declaration into a stream on the file).")
w("")
w("| declaration | MSXML `save()` | the module's save |")
w("|---|---|---|")
for key, label in [("no_declaration", "none"), ("version_only", "`version='1.0'`"),
                   ("with_encoding", "`version='1.0' encoding='UTF-8' standalone='yes'` "
                                     "(the asset document's)")]:
    w(f"| {label} | {f(saves.get(key + '_growth_kb_per_90', float('nan')), 0)} | "
      f"{f(saves.get('module_' + key + '_growth_kb_per_90', float('nan')), 0)} |")
w("")
w(f"Files byte for byte the same both ways: "
  f"{f(saves.get('module_save_identical', float('nan')), 0)} of "
  f"{f(saves.get('module_save_documents', float('nan')), 0)} documents (each declaration, ASCII and")
w("non-ASCII text, 0, 1 and 1,000 elements).")
w("")
per_declaration = saves.get("declaration_created_growth_kb_per_900", float("nan")) / 900
w("Creating the declaration alone (`createProcessingInstruction(\"xml\", ...)`, no save), 900")
w(f"documents: {f(per_declaration * 900, 0)} KiB, {f(per_declaration, 2)} KiB per document; every")
w("run builds one document with a declaration, as the format requires.")
w("")
host_growth = host_mem.get("growth_kb", float("nan"))
goal3 = host_growth == host_growth and host_growth <= 64
w(f"Goal: memory flat over {runs} runs in one load, within 64 KiB: {verdict(goal3)} on the host "
  f"({f(host_growth, 0)} KiB). Under Wine, as far as the module can influence it:")
for name, r in [("Wine WMI", builtin), ("fixture provider", provider)]:
    measured = r.get("memory_runs", float("nan")) - 10
    extra = r.get("growth_kb", float("nan")) - r.get("floor_growth_kb", float("nan"))
    declarations = per_declaration * measured
    rest = extra - declarations
    w(f"- {name}: {f(r.get('growth_kb', float('nan')), 0)} KiB over {f(measured, 0)} runs, the "
      f"floor client {f(r.get('floor_growth_kb', float('nan')), 0)} KiB over as many; of the "
      f"difference, {f(extra, 0)} KiB, msxml3's declarations account for {f(declarations, 0)} "
      f"KiB; the rest, {f(rest, 0)} KiB -> {verdict(rest == rest and rest <= 64)}")
w("")

# ---- 4. clock --------------------------------------------------------------------------------
host_clock, wine_clock = keyed("host-clock.txt"), keyed("wine-clock.txt")
w("## 4. Clock measurement")
w("")
w(f"Reference: the time-stamp counter's frequency from the {reference}; CPUID leaves 0x15/0x16")
w("state none on this virtual machine. The counter timed against the system's monotonic clock")
w("over two seconds is shown as a cross-check. `MeasureCpuSpeed` busy-waits a little over one")
w("second of the millisecond timer (host: the monotonic clock in ms; Wine: `timeGetTime`).")
w("")
w("| | host | Wine |")
w("|---|---|---|")
for key, label, digits in [("repeats", "repetitions", 0),
                           ("reference_mhz", "reference, MHz", 3),
                           ("counter_vs_monotonic_mhz", "counter against the monotonic clock, MHz", 3),
                           ("measured_mhz_median", "measured (median), MHz", 0),
                           ("measured_mhz_min", "measured min, MHz", 0),
                           ("measured_mhz_max", "measured max, MHz", 0),
                           ("error_percent", "**error, %**", 3),
                           ("wall_cost_ms", "wall cost, ms", 1)]:
    w(f"| {label} | {f(host_clock.get(key, float('nan')), digits)} | "
      f"{f(wine_clock.get(key, float('nan')), digits)} |")
w("")
errors = [abs(c.get("error_percent", float("nan"))) for c in (host_clock, wine_clock)]
goal4 = all(e == e and e <= 0.5 for e in errors)
w(f"Goal: within 0.5%: {verdict(goal4)}.")
w("")

# ---- closing note ----------------------------------------------------------------------------
w("## Closing note")
w("")
notes = os.path.join(os.path.dirname(os.path.abspath(__file__)), "RESULTS-notes.md")
if os.path.exists(notes):
    w(open(notes).read().rstrip())
print("\n".join(lines))

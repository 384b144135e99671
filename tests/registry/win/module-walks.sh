#!/usr/bin/env bash
# Runs the real module once on a Windows 95 family version with the
# registry fixture of that family imported, and checks that the monitor
# walk found the fixture's monitor.
#   module-walks.sh TESTS_DIR PLAIN_CALLER MODULE WORK_DIR
set -euo pipefail
tests=$1 caller=$2 module=$3 work=$4
mkdir -p "$work"
rm -f "$work/debug.txt" "$work/walks.xml"
run="$tests/wine/wine-run"
group=registry_module_win98
fixture="Z:$(printf '%s' "$tests/fixtures/registry/win9x.reg" | tr / '\\')"
# The fixture goes in through reg.exe in the group's kept prefix, then the
# module runs in that prefix.
"$run" --group "$group" --keep -- reg.exe import "$fixture" >/dev/null
"$run" --group "$group" --reuse --version win98 --debug-out "$work/debug.txt" -- \
  "$caller" "Z:$module" "Z:$work/walks.xml" 1 || true
fail=0
grep -qx 'Monitor count : 1' "$work/debug.txt" ||
  { echo "expected 'Monitor count : 1' among the debug lines:"; cat "$work/debug.txt"; fail=1; }
if [ -f "$work/walks.xml" ]; then
  grep -q 'Default Monitor' "$work/walks.xml" ||
    { echo "the document does not name the fixture's monitor"; fail=1; }
fi
exit "$fail"

#!/usr/bin/env bash
# morv-agent under Wine: its exit status, output and staging directory
# follow the module's result. Usage: agent-test.sh BIN_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$1
work="${MORV_BUILD_DIR:-$bin/..}/agent-test"
rm -rf "$work" && mkdir -p "$work"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

# An installation of its own, so the staging directory can be checked.
install_to() { mkdir -p "$1" && cp "$bin/morv-agent.exe" "$bin/Morv.dll" "$1/"; }
agent() { # DIR ARGS...: runs the agent installed in DIR, output in $out
  local dir=$1; shift
  out=$("$here/wine-run" --group agent --keep --reuse --version win98 -- \
    "$dir/morv-agent.exe" "$@" 2>"$work/stderr")
  status=$?
}

install_to "$work/a"
agent "$work/a" --detail
[ "$status" = 2 ] || fail "missing value: exit $status, want 2"
grep -q '^usage: morv-agent' "$work/stderr" || fail "missing value: no usage text"

agent "$work/a" --help
[ "$status" = 0 ] || fail "--help: exit $status"
grep -q '^usage: morv-agent' <<<"$out" || fail "--help: no usage text"

for mode in 1 0; do
  agent "$work/a" --detail "$mode" --device agent-test --document "Z:$work/doc-$mode.xml"
  out=${out//$'\r'/}
  result=$(sed -n 's/^result: \(-\{0,1\}[0-9]*\) (.*)$/\1/p' <<<"$out")
  [ -n "$result" ] || fail "detail $mode: no result line in: $out"
  if [ "$result" = 0 ]; then want=0; else want=1; fi
  [ "$status" = "$want" ] || fail "detail $mode: exit $status for result $result"
  grep -qE '^status: [01]$' <<<"$out" || fail "detail $mode: bad status line"
  grep -qE '^timestamp: ([0-9]{14})?$' <<<"$out" || fail "detail $mode: bad timestamp line"
done
[ -d "$work/a/Results/Backup" ] || fail "Results\\Backup not created beside the agent"

install_to "$work/b"
agent "$work/b" --no-staging --document "Z:$work/doc-b.xml"
[ ! -e "$work/b/Results" ] || fail "--no-staging created Results"

# --show, from an installation without the module: the document just
# written, then each fixture of the host tests, read through MSXML.
mkdir -p "$work/c" && cp "$bin/morv-agent.exe" "$work/c/"
if [ -f "$work/doc-1.xml" ]; then
  agent "$work/c" --show "Z:$work/doc-1.xml"
  out=${out//$'\r'/}
  [ "$status" = 0 ] || fail "--show of a written document: exit $status"
  grep -qx 'device: agent-test' <<<"$out" || fail "--show: no device line in: $out"
  grep -qE '^current timestamp: [0-9]{14}$' <<<"$out" || fail "--show: no current timestamp"
fi
fixtures="$here/../fixtures/show"
while read -r file want; do
  agent "$work/c" --show "Z:$fixtures/$file"
  got=$(sed 1d <<<"${out//$'\r'/}")
  expected=$(awk -v f="$file" '/^== / { on = $2 == f; next } on' "$fixtures/expected.txt")
  [ "$status" = "$want" ] || fail "--show $file: exit $status, want $want"
  [ "$got" = "$expected" ] || fail "--show $file printed:"$'\n'"$got"
done < <(sed -n 's/^== //p' "$fixtures/expected.txt")

"$here/wine-run" --group agent --stop
if [ "$failures" = 0 ]; then echo "agent: all checks passed"; fi
exit $((failures > 0))

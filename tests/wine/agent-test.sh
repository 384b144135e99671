#!/usr/bin/env bash
# morv-agent under Wine, loading the real module (which meets Wine's own WMI
# here): its exit status follows the module's result, Results\Backup is made
# beside it unless --no-staging, and --show prints each document of
# fixtures/show as the host tests expect (expected.txt), read through MSXML.
# Usage: agent-test.sh BIN_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$1
work="${MORV_BUILD_DIR:-$bin/..}/agent-test"
rm -rf "$work" && mkdir -p "$work/a" "$work/b" "$work/c"
cp "$bin/morv-agent.exe" "$bin/Morv.dll" "$work/a/" && cp "$bin/morv-agent.exe" "$bin/Morv.dll" "$work/b/"
cp "$bin/morv-agent.exe" "$work/c/"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
agent() { # DIR ARGS...: output in $out, exit status in $status
  local dir=$1
  shift
  out=$("$here/wine-run" --group agent --keep --reuse --version win98 -- "$dir/morv-agent.exe" "$@" \
    2>"$work/stderr" | tr -d '\r')
  status=$?
}

agent "$work/a" --detail
[ "$status" = 2 ] && grep -q '^usage: morv-agent' "$work/stderr" || fail "missing value: exit $status"
agent "$work/a" --help
[ "$status" = 0 ] && grep -q '^usage: morv-agent' <<<"$out" || fail "--help: exit $status"
agent "$work/a" --detail 1 --device agent-test --document "Z:$work/doc.xml"
result=$(sed -n 's/^result: \(-\{0,1\}[0-9]*\) (.*)$/\1/p' <<<"$out")
[ -n "$result" ] && [ "$status" = "$([ "$result" = 0 ] && echo 0 || echo 1)" ] ||
  fail "exit $status for: $out"
grep -qE '^status: [01]$' <<<"$out" && grep -qE '^timestamp: ([0-9]{14})?$' <<<"$out" ||
  fail "status or timestamp line in: $out"
[ -d "$work/a/Results/Backup" ] || fail "Results\\Backup not created beside the agent"
agent "$work/b" --no-staging --document "Z:$work/doc-b.xml"
[ ! -e "$work/b/Results" ] || fail "--no-staging created Results"

fixtures="$here/../fixtures/show"
while read -r file want; do
  agent "$work/c" --show "Z:$fixtures/$file"
  expected=$(awk -v f="$file" '/^== / { on = $2 == f; next } on' "$fixtures/expected.txt")
  [ "$status" = "$want" ] && [ "$(sed 1d <<<"$out")" = "$expected" ] ||
    fail "--show $file: exit $status, printed:"$'\n'"$out"
done < <(sed -n 's/^== //p' "$fixtures/expected.txt")

"$here/wine-run" --group agent --stop
[ "$failures" = 0 ] && echo "agent: all checks passed"
exit $((failures > 0))

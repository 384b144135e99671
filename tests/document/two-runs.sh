#!/usr/bin/env bash
# Two runs of the real module under Wine (a 9x-family version): the first
# writes the document, the second compares with it. Checks the schema, the
# timestamps carried over and the staging copy. Usage: two-runs.sh BIN_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
bin=$1
work="${MORV_BUILD_DIR:-$bin/..}/document-two-runs"
rm -rf "$work" && mkdir -p "$work/agent"
cp "$bin/morv-agent.exe" "$bin/Morv.dll" "$work/agent/"
doc="$work/AgentHardwareAsset.XML"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

run() { # one run; its output lines in $out
  out=$("$source_dir/tests/wine/wine-run" --group document_two_runs --keep --reuse \
    --version win98 -- "$work/agent/morv-agent.exe" --detail 1 --device two-runs \
    --document "Z:${doc//\//\\}" 2>"$work/stderr" | tr -d '\r')
}
attribute() { # FILE NAME: the HardwareAsset attribute
  xmllint --xpath "string(/TS_Root/Device/HardwareAsset/@$2)" "$1"
}
conforms() {
  xmllint --noout --schema "$source_dir/document/AssetDocument.xsd" "$1" 2>>"$work/schema" ||
    fail "$1 does not conform to the schema"
}

run
grep -qx 'result: 0 (.*)' <<<"$out" || grep -q '^result: 0 ' <<<"$out" || fail "first run: $out"
grep -qx 'status: 1' <<<"$out" || fail "first run status: $out"
[ -f "$doc" ] || fail "first run wrote no document"
conforms "$doc"
first=$(attribute "$doc" currentTimestamp)
[ "$(attribute "$doc" previousTimestamp)" = "$first" ] || fail "fresh document: stamps differ"
grep -qx "timestamp: $first" <<<"$out" || fail "first run handed out another timestamp"
[ ! -e "$work/agent/Results/Backup/new_AgentHardwareAsset.XML" ] || fail "fresh build staged"

sleep 1
run
grep -q '^result: 0 ' <<<"$out" || fail "second run: $out"
grep -qE '^status: [01]$' <<<"$out" || fail "second run status: $out"
conforms "$doc"
second=$(attribute "$doc" currentTimestamp)
[ "$(attribute "$doc" previousTimestamp)" = "$first" ] ||
  fail "second document's previousTimestamp is not $first"
[ "$second" != "$first" ] || fail "second run kept the first timestamp"
staged="$work/agent/Results/Backup/new_AgentHardwareAsset.XML"
cmp -s "$staged" "$doc" || fail "staging file differs from the document"
# On 9x versions the old document goes aside while the new one is renamed in.
for left in "$doc.tmp" "$doc.old"; do [ ! -e "$left" ] || fail "$left left behind"; done
classes=$(xmllint --xpath 'count(//Class)' "$doc")
[ "$classes" = 13 ] || fail "detail document has $classes classes"

"$source_dir/tests/wine/wine-run" --group document_two_runs -- cmd /c exit 0 >/dev/null 2>&1
if [ "$failures" = 0 ]; then echo "two runs: all checks passed"; fi
exit $((failures > 0))

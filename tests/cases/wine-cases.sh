#!/usr/bin/env bash
# The cases of this folder through the real Morv.dll under Wine. The test
# WMI provider serves each case's WMI fixture, its registry tree is
# imported, Wine reports its Windows version to the caller (case_caller.exe,
# placed in the case's host directory), and the transcript and document the
# run leaves must equal the goldens the host runner (CaseTest.cpp) checks,
# once both are masked: timestamps, the error of the power-policy line
# (Wine's call is a stub), and what the case's wine-mask lines name (values
# the Wine machine decides). Cases marked host-only are skipped.
# Usage: wine-cases.sh BIN_DIR [CASE...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)
shift
root="${MORV_BUILD_DIR:-$bin/..}/cases"
rm -rf "$root" && mkdir -p "$root/cdrom"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
winpath() { printf 'Z:%s' "$1" | sed 's#/#\\#g'; }

provider=$(winpath "$bin/morv-wmi-provider.dll" | sed 's#\\#\\\\#g')
printf 'REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\\{4590f811-1d3a-11d0-891f-00aa004b2e24}\\InprocServer32]\n@="%s"\n"ThreadingModel"="Both"\n' \
  "$provider" >"$root/provider.reg"
# 95 and NT 4.0 have no power library.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\case_caller.exe\\DllOverrides]\n"powrprof"=""\n' \
  >"$root/no-power.reg"

# Masks the timestamps, the power-policy error and the case's wine-mask
# lines (MASKS: "NAME [REGEX]" a line): NAME a summary property's or a
# class's, REGEX the part of each value masked (all of it by default); or
# the start of a transcript line, whose rest is masked.
mask() {
  MASKS=$1 perl -0pe '
    s/(timestamp |Timestamp=)"\d{14}"/$1"*"/g;
    s/(GetCurrentPowerPolicies is fail\(error : )-?\d+\)/$1*)/g;
    for my $m (split /\n/, $ENV{MASKS}) {
      my ($name, $re) = split / /, $m, 2;
      $re = "^.*\$" unless defined $re;
      s{(<Property [^>]*name="\Q$name\E"[^>]*?)(?:/>|>([^<]*)</Property>)}
       {my ($head, $t) = ($1, $2 // ""); $t =~ s/$re/*/; "$head>$t</Property>"}ge;
      s{(<Class id="\Q$name\E"[^>]*?)(?:/>|>.*?</Class>)}{$1>*</Class>}g;
      s/^\Q$name\E.*$/$name */mg;
    }'
}

# The transcript of CaseTest.cpp from what the run left in $out.
transcript() {
  local i=0 kind count lines last
  for kind in "${kinds[@]}"; do
    count=${counts[$i]}
    lines=$(sed -n "$((seen + 1)),$((seen + count))p" "$out/stdout" | tr -d '\r')
    seen=$((seen + count)) i=$((i + 1))
    if [ "$kind" = run ]; then
      read -r r s t <<<"$lines"
      echo "run $i: result $r, status $s, timestamp $t"
    else
      last=$(tail -n 1 <<<"$lines")
      printf 'runs %s:%s, status %s, timestamp %s\n' "$count" \
        "$(cut -d' ' -f1 <<<"$lines" | sort -n | uniq -c | awk '{ printf " result %s x%s", $2, $1 }')" \
        "$(cut -d' ' -f2 <<<"$last")" "$(cut -d' ' -f3- <<<"$last")"
    fi
  done
  if [ "$quiet" = 0 ]; then
    sed -n 's/^.*fixme:ole:CoInitializeSecurity \(.*\) stub\r\{0,1\}$/\1/p' "$out/stderr" |
      awk -F', ' '{ if ($1 ~ /^0+$/ && $2 == -1 && $3 ~ /^0+$/ && $4 ~ /^0+$/ && $8 == 0 && $9 ~ /^0+$/)
        printf "security: %s, authentication %d, impersonation %d\n", ($7 ~ /^0+$/ ? "no list" : "list"), $5, $6
        else print "security: unexpected arguments " $0 }'
    [ -f "$out/wmi.log" ] && tr -d '\r' <"$out/wmi.log" | sed 's/^/wmi: /'
    tr -d '\r' <"$out/debug.txt" | sed 's/^/debug: /'
  fi
  printf 'files:'
  (cd "$machine" && find . -type f ! -name case_caller.exe | sed 's#^\./##' |
    sed "s#^${host#$machine/}/#agent/#" | LC_ALL=C sort | sed 's/^/ /' | tr -d '\n')
  echo
}

declare -A started
run_case() {
  local dir=$1 name out machine host exe windows=win7 wmi="" registry="" detail=1 device=case
  local faults="" quiet=0 mta="" staging=1 padded="" masks="" verb rest n=0 flags f group
  local -a extra=() kinds=() counts=() files=() regs=()
  name=$(basename "$dir") out="$root/$(basename "$dir")"
  machine="$out/machine" host="$out/machine/agent"
  if grep -q '^host-only' "$dir/case.txt"; then
    echo "$name: host only: $(sed -n 's/^host-only //p' "$dir/case.txt")"
    return
  fi
  mkdir -p "$machine"
  while read -r verb rest; do
    case "$verb" in
      '' | '#'*) ;;
      windows) windows=$rest ;;
      wmi) wmi="$dir/$rest" extra=() ;;
      wmi-line) extra+=("$rest") ;;
      wmi-fault) faults=$rest ;;
      registry) registry="$dir/$rest" ;;
      previous) [ "$rest" = directory ] && mkdir "$machine/AgentHardwareAsset.XML" ||
        cp "$dir/$rest" "$machine/AgentHardwareAsset.XML" ;;
      agent-file) files+=("$rest") ;;
      leave) cp "$dir/${rest#* }" "$machine/${rest%% *}" ;;
      host-dir) padded=$rest ;;
      no-staging) staging=0 ;;
      apartment) mta=$rest ;;
      detail) detail=$rest ;;
      device) device=$(printf '%b' "$rest") ;;
      quiet) quiet=1 ;;
      run | runs)
        n=$((n + 1)) flags="" kinds+=("$verb") counts+=("$([ "$verb" = runs ] && echo "$rest" || echo 1)")
        for f in $rest; do case $f in no-device) flags+=d ;; no-document) flags+=p ;;
          no-status) flags+=s ;; no-timestamp) flags+=t ;; esac; done
        { cat "$wmi"; printf '%s\n' "${extra[@]}"; } >"$out/fixture-$n.wmi"
        printf '%s|%s|%s|%s|%s|%s\n' "${counts[$((n - 1))]}" "$detail" "$flags" \
          "$(winpath "$out/fixture-$n.wmi")" "$faults" "$device" >>"$out/runs.txt" ;;
      wine-mask) masks+="$rest"$'\n' ;;
      memory | drive | power | processor) ;; # the Wine machine's own
      *) fail "$name: '$verb' cannot be run under Wine; mark the case host-only"; return ;;
    esac
  done <"$dir/case.txt"

  # The host's directory, padded as ModuleOnDoubles::Layout pads it.
  exe=$host
  if [ -n "$padded" ]; then
    host="$machine/$(printf 'h%.0s' $(seq $((padded - $(winpath "$machine" | wc -c) - 1))))"
    exe="$host/$(printf 'x%.0s' $(seq $((254 - padded))))/agent"
  fi
  mkdir -p "$exe" && cp "$bin/case_caller.exe" "$exe/"
  [ "$staging" = 0 ] || mkdir -p "$host/Results/Backup"
  for f in "${files[@]}"; do cp "$dir/${f#* }" "$host/${f%% *}"; done

  group=$(basename "${registry:-none}" .reg)
  case "$windows" in win95 | nt40) group+=-nopower ;; esac
  if [ -z "${started[$group]:-}" ]; then
    started[$group]=1
    # A CD-ROM drive D:, as the doubles have one (on a folder of its own:
    # Wine names a path by the drive it lies on).
    regs=(--cdrom "D:$root/cdrom" --reg "$root/provider.reg")
    [ -z "$registry" ] || regs+=(--reg "$registry")
    [[ "$group" != *-nopower ]] || regs+=(--reg "$root/no-power.reg")
  fi
  local version=()
  [ "$windows" = default ] || version=(--version "$windows")
  MORV_WMI_LOG=$(winpath "$out/wmi.log") MORV_WINE_TRACE=fixme+ole \
    "$here/../wine/wine-run" --group "cases-$group" --keep --reuse "${regs[@]}" \
    "${version[@]}" --debug-out "$out/debug.txt" -- "$exe/case_caller.exe" \
    "$(winpath "$bin/Morv.dll")" "$(winpath "$machine/AgentHardwareAsset.XML")" \
    "$(winpath "$out/runs.txt")" $mta >"$out/stdout" 2>"$out/stderr" ||
    fail "$name: case_caller failed: $(grep -v fixme "$out/stderr" | head -5)"

  local seen=0
  transcript >"$out/transcript.txt"
  diff <(mask "$masks" <"$dir/expected.txt") <(mask "$masks" <"$out/transcript.txt") >"$out/diff" ||
    fail "$name: transcript differs (<expected >under Wine):"$'\n'"$(cat "$out/diff")"
  local golden document="$machine/AgentHardwareAsset.XML"
  local staged="$host/Results/Backup/new_AgentHardwareAsset.XML"
  [ -f "$staged" ] && [ -f "$document" ] && cmp -s "$staged" "$document" && staged=/nonexistent
  # A missing file reads as empty, as the host runner reads it.
  elements() { [ ! -f "$1" ] || mask "$masks" <"$1" | sed 's/></>\n</g'; }
  for golden in document.xml:"$document" staging.xml:"$staged"; do
    diff <(elements "$dir/${golden%%:*}") <(elements "${golden#*:}") >"$out/diff" ||
      fail "$name: ${golden%%:*} differs (<expected >under Wine):"$'\n'"$(head -20 "$out/diff")"
  done
  echo "$name: done"
}

if [ $# -gt 0 ]; then cases=("${@/#/$here/}"); else cases=("$here"/*/); fi
for dir in "${cases[@]}"; do [ -f "$dir/case.txt" ] && run_case "${dir%/}"; done
for group in "${!started[@]}"; do "$here/../wine/wine-run" --group "cases-$group" --stop; done
[ "$failures" = 0 ] && echo "Wine cases: all passed"
exit $((failures > 0))

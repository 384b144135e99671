#!/usr/bin/env bash
# Scenarios of the real module under Wine, with the test WMI provider
# registered in place of WMI's locator. Every expectation is derived from
# the fixture the run was given; every document must validate against the
# schema. Usage: scenarios.sh BIN_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../.." && pwd)
bin=$(cd "$1" && pwd)
work="${MORV_BUILD_DIR:-$bin/..}/scenarios"
wmi="$src/tests/fixtures/wmi"
reg="$src/tests/fixtures/registry"
own="$src/tests/fixtures/scenarios"
schema="$src/document/AssetDocument.xsd"
rm -rf "$work" && mkdir -p "$work"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect() { # WHAT GOT WANT
  [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}

# --- the provider's registration -------------------------------------------
winpath() { printf 'Z:%s' "$1" | sed 's#/#\\#g'; }
cat >"$work/provider.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\CLSID\\{4590f811-1d3a-11d0-891f-00aa004b2e24}\\InprocServer32]
@="$(winpath "$bin/morv-wmi-provider.dll" | sed 's#\\#\\\\#g')"
"ThreadingModel"="Both"
REG
# Disables the power library for the agent, as on 95 and NT 4.0.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\morv-agent.exe\\DllOverrides]\n"powrprof"=""\n' \
  >"$work/no-power.reg"

# --- running ---------------------------------------------------------------
# invoke GROUP VERSION FIXTURE FAULTS REGFILE -- PROGRAM ARGS...: output in
# $out (CRs removed), debugger lines in $debug, exit status in $code.
# The group's prefix is made on its first use, with the provider and the
# group's registry fixture imported (reg.exe run inside the prefix, so no
# Linux-side path conversion is needed).
declare -A started
invoke() {
  local group=$1 version=$2 fixture=$3 faults=$4 regfile=$5 r reuse=()
  shift 6
  if [ -z "${started[$group]:-}" ]; then
    started[$group]=1
    for r in "$work/provider.reg" $regfile; do
      "$here/../wine-run" --group "scenario-$group" --keep "${reuse[@]}" -- \
        reg import "$(winpath "$r")" >/dev/null 2>&1 || fail "$group: cannot import $r"
      reuse=(--reuse)
    done
  fi
  rm -f "$work/debug.txt"
  out=$(MORV_WMI_FIXTURE="Z:$fixture" MORV_WMI_FAULTS="$faults" \
    "$here/../wine-run" --group "scenario-$group" --keep --reuse --version "$version" \
    --debug-out "$work/debug.txt" -- "$@" 2>"$work/stderr")
  code=$?
  out=${out//$'\r'/}
  debug=$(tr -d '\r' <"$work/debug.txt" 2>/dev/null)
}
# An installation of morv-agent with Morv.dll beside it.
install_to() { rm -rf "$1" && mkdir -p "$1" && cp "$bin/morv-agent.exe" "$bin/Morv.dll" "$1/"; }
# agent GROUP VERSION FIXTURE FAULTS REGFILE DIR ARGS...: result, status and
# stamp of the last run.
agent() {
  local dir=$6
  [ -f "$dir/morv-agent.exe" ] || install_to "$dir"
  invoke "$1" "$2" "$3" "$4" "$5" -- "$dir/morv-agent.exe" "${@:7}"
  result=$(sed -n 's/^result: \(-\{0,1\}[0-9]*\) .*$/\1/p' <<<"$out" | tail -n 1)
  status=$(sed -n 's/^status: //p' <<<"$out" | tail -n 1)
  stamp=$(sed -n 's/^timestamp: //p' <<<"$out" | tail -n 1)
}
# caller GROUP VERSION FIXTURE FAULTS REGFILE MODE ARGS...: the last line.
caller() {
  invoke "$1" "$2" "$3" "$4" "$5" -- "$bin/scenario_caller.exe" "Z:$bin/Morv.dll" "${@:6}"
  read -r result status stamp <<<"$(tail -n 1 <<<"$out")"
  [ "$stamp" != '""' ] || stamp=""
}

# --- the document ----------------------------------------------------------
asset=/TS_Root/Device/HardwareAsset
summary="$asset/Class[@id='TCO_Summary']"
xq() { xmllint --xpath "$2" "$1" 2>/dev/null; }
value() { xq "$1" "string($summary/Property[@name='$2'])"; }
values() { # DOC NAME: the list entries joined by '|'
  local n i joined=""
  n=$(xq "$1" "count($summary/Property[@name='$2'])")
  for ((i = 1; i <= n; i++)); do
    joined+="$(xq "$1" "string(($summary/Property[@name='$2'])[$i])")|"
  done
  printf '%s' "$joined"
}
valid() { # WHAT DOC
  [ -f "$2" ] || { fail "$1: no document at $2"; return 1; }
  xmllint --noout --schema "$schema" "$2" 2>"$work/xmllint.txt" ||
    { fail "$1: document does not validate: $(head -c 400 "$work/xmllint.txt")"; return 1; }
}
marked() { xq "$1" "count($summary/Property[@changed='1'])"; }

# --- what a fixture says ---------------------------------------------------
# table FIXTURE CLASS PROP...: one line per instance, the properties'
# delivered texts or numbers separated by tabs (empty when not delivered).
table() {
  awk -v cls="$2" -v props="${*:3}" '
    function flush() { if (inside) { line = ""; for (i = 1; i <= n; i++) line = line (i > 1 ? "\t" : "") v[i]; print line } }
    BEGIN { n = split(props, want, " ") }
    /^\[/ { flush(); inside = (tolower($0) == tolower("[" cls "]")); for (i = 1; i <= n; i++) v[i] = ""; next }
    inside && /=/ {
      name = $0; sub(/[ \t]*=.*/, "", name)
      rest = $0; sub(/^[^=]*=[ \t]*/, "", rest)
      if (rest ~ / hr 0x/) next
      if (rest ~ /^string "/) { sub(/^string "/, "", rest); sub(/"[^"]*$/, "", rest); gsub(/\\\\/, "\\", rest) }
      else if (rest ~ /^int(32|16) /) { sub(/^int(32|16) /, "", rest) }
      else next
      for (i = 1; i <= n; i++) if (tolower(want[i]) == tolower(name)) v[i] = rest
    }
    END { flush() }' "$1"
}
sum_of() { local s=0 x; while IFS= read -r x; do s=$((s + ${x:-0})); done; echo "$s"; }
# The summary the WMI queries derive from a fixture, as NAME=VALUE lines.
derive() {
  local f=$1 name="" count=0 n
  while IFS= read -r n; do
    [ -n "$n" ] || continue
    if [ -z "$name" ] || [ "${name,,}" = "${n,,}" ]; then name=$n; count=$((count + 1)); fi
  done < <(table "$f" Win32_Processor Name)
  echo "Win32_OperatingSystem.Caption=$(table "$f" Win32_OperatingSystem Caption | tail -n 1)"
  echo "Win32_Processor.Name=$name"
  echo "Win32_Processor.Count=$count"
  echo "Win32_PhysicalMemory.TotalCapacity=$(table "$f" Win32_PhysicalMemory Capacity | sum_of)"
  echo "Win32_DiskDrive.TotalSize=$(table "$f" Win32_DiskDrive MediaType Size |
    awk -F'\t' 'toupper($1) ~ /FIXED/ { print $2 }' | sum_of)"
  echo "Win32_DiskDrive.TotalFreeSize=$(table "$f" Win32_LogicalDisk FreeSpace | sum_of)"
  echo "Win32_VideoController.Caption=$(table "$f" Win32_VideoController CurrentBitsPerPixel Caption |
    awk -F'\t' '$1 != "" { printf "%s|", $2 }')"
  echo "Win32_DesktopMonitor.Caption=$(table "$f" Win32_DesktopMonitor ScreenWidth Caption |
    awk -F'\t' '$1 != "" { printf "%s|", $2 }')"
  echo "Win32_CDROMDrive.Name=$(table "$f" Win32_CDROMDrive Name | awk '{ printf "%s|", $0 }')"
  echo "Win32_SoundDevice.Caption=$(table "$f" Win32_SoundDevice Caption | awk '{ printf "%s|", $0 }')"
}
summary_is() { # WHAT DOC FIXTURE: the document's summary is the fixture's
  local line name want got
  while IFS= read -r line; do
    name=${line%%=*} want=${line#*=}
    case "$name" in
      *.Caption | *.Name) [[ "$name" == Win32_OperatingSystem.* || "$name" == Win32_Processor.* ]] &&
        got=$(value "$2" "$name") || got=$(values "$2" "$name") ;;
      *) got=$(value "$2" "$name") ;;
    esac
    expect "$1: $name" "$got" "$want"
  done < <(derive "$3")
}
with_directive() { # FIXTURE DIRECTIVE OUT
  { cat "$1"; printf '\n%s\n' "$2"; } >"$3"
}

. "$here/scenario-cases.sh"
run_cases

for group in "${!started[@]}"; do "$here/../wine-run" --group "scenario-$group" --stop; done
if [ "$failures" = 0 ]; then echo "scenarios: all checks passed"; fi
exit $((failures > 0))

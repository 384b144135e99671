# The scenarios, sourced by scenarios.sh (which defines the helpers).
station="$wmi/workstation.wmi"
odd="$own/odd-shapes.wmi"

# First run, second run, unchanged and changed hardware, many runs in one load.
runs_in_sequence() {
  local dir="$work/agent" doc="$work/agent/AgentHardwareAsset.XML" first
  install_to "$dir"
  agent main winxp "$station" "" "" "$dir" --detail 1 --device scenario-pc --document "Z:$doc"
  expect "first run: result" "$result" 0
  expect "first run: status" "$status" 1
  [[ "$stamp" =~ ^[0-9]{14}$ ]] || fail "first run: timestamp '$stamp'"
  if valid "first run" "$doc"; then
    summary_is "first run" "$doc" "$station"
    expect "first run: device id" "$(xq "$doc" "string(/TS_Root/Device/@id)")" scenario-pc
    expect "first run: currentTimestamp" "$(xq "$doc" "string($asset/@currentTimestamp)")" "$stamp"
    expect "first run: previousTimestamp" "$(xq "$doc" "string($asset/@previousTimestamp)")" "$stamp"
    expect "first run: classes" "$(xq "$doc" "count($asset/Class)")" 13
    expect "first run: marks" "$(marked "$doc")" 0
    expect "first run: memory modules" \
      "$(xq "$doc" "count($asset/Class[@id='Win32_PhysicalMemory']/Property[@name='Capacity'])")" \
      "$(table "$station" Win32_PhysicalMemory Capacity | wc -l)"
  fi
  [ ! -e "$dir/Results/Backup/new_AgentHardwareAsset.XML" ] || fail "first run wrote the staging file"
  first=$stamp

  sleep 1 # a later second, so the timestamps differ
  agent main winxp "$station" "" "" "$dir" --detail 1 --device scenario-pc --document "Z:$doc"
  expect "unchanged hardware: result" "$result" 0
  expect "unchanged hardware: status" "$status" 0
  if valid "unchanged hardware" "$doc"; then
    expect "unchanged hardware: previousTimestamp" "$(xq "$doc" "string($asset/@previousTimestamp)")" "$first"
    expect "unchanged hardware: currentTimestamp" "$(xq "$doc" "string($asset/@currentTimestamp)")" "$stamp"
    [ "$stamp" != "$first" ] || fail "unchanged hardware: the timestamp did not advance"
    expect "unchanged hardware: marks" "$(marked "$doc")" 0
    cmp -s "$doc" "$dir/Results/Backup/new_AgentHardwareAsset.XML" ||
      fail "unchanged hardware: the staging file differs from the document"
  fi

  # Only the free space differs: exactly that property is marked.
  sed 's/^FreeSpace = string "1000"/FreeSpace = string "2000"/' "$station" >"$work/freed.wmi"
  agent main winxp "$work/freed.wmi" "" "" "$dir" --detail 1 --device scenario-pc --document "Z:$doc"
  expect "changed free space: result" "$result" 0
  expect "changed free space: status" "$status" 1
  if valid "changed free space" "$doc"; then
    expect "changed free space: marks" "$(marked "$doc")" 1
    expect "changed free space: marked property" \
      "$(xq "$doc" "string($summary/Property[@changed='1']/@name)")" Win32_DiskDrive.TotalFreeSize
    summary_is "changed free space" "$doc" "$work/freed.wmi"
  fi

  # A processor name in other capitals is no change.
  sed 's/^Name = string "INTEL(R) PENTIUM(R) 4 CPU 3.00GHZ"/Name = string "intel(r) pentium(r) 4 cpu 3.00ghz"/' \
    "$work/freed.wmi" >"$work/lower.wmi"
  agent main winxp "$work/lower.wmi" "" "" "$dir" --detail 1 --device scenario-pc --document "Z:$doc"
  expect "letter case only: result" "$result" 0
  expect "letter case only: status" "$status" 0

  # Many runs in one load: every one completes with the full summary.
  agent main winxp "$station" "" "" "$dir" --detail 1 --device scenario-pc --document "Z:$doc" \
    --runs "${MORV_SCENARIO_RUNS:-1000}"
  expect "runs in one load: failing runs" "$(grep -c '^result: ' <<<"$out")" "${MORV_SCENARIO_RUNS:-1000}"
  expect "runs in one load: results other than 0" "$(grep '^result: ' <<<"$out" | grep -vc '^result: 0 ')" 0
  expect "runs in one load: last status" "$status" 0
  valid "runs in one load" "$doc" && summary_is "runs in one load" "$doc" "$station"

  # Detail mode 0: the summary class alone.
  agent main winxp "$station" "" "" "$dir" --detail 0 --device scenario-pc --document "Z:$work/summary-only.xml"
  expect "detail 0: result" "$result" 0
  if valid "detail 0" "$work/summary-only.xml"; then
    expect "detail 0: classes" "$(xq "$work/summary-only.xml" "count($asset/Class)")" 1
    summary_is "detail 0" "$work/summary-only.xml" "$station"
  fi
}

# What stands at documentPath, or is missing beside the agent.
document_faults() {
  local dir="$work/faults" doc before
  install_to "$dir"
  mkdir -p "$dir/Results/Backup"

  # Each row: case, what is put at the path, wanted result. The device id
  # holds a control character, which no document may carry.
  local head='<TS_Root><Device id="x"><HardwareAsset version="1.0" currentTimestamp="20000101000000" previousTimestamp="20000101000000">'
  local tail='</HardwareAsset></Device></TS_Root>'
  while IFS='|' read -r what make want; do
    doc="$work/fault-$what.xml"
    rm -rf "$doc" "$dir/Results/Backup/new_AgentHardwareAsset.XML"
    case "$make" in
      directory) mkdir -p "$doc" ;;
      malformed) printf '<TS_Root><Device id="x"><HardwareAsset' >"$doc" ;;
      no-summary) printf '%s<Class id="Win32_OperatingSystem" wmi="true" changed="1"/>%s' "$head" "$tail" >"$doc" ;;
      controls) printf '<TS_Root><Device id="x\002&#x1F;"><HardwareAsset version="1.0" currentTimestamp="20000101000000" previousTimestamp="20000101000000"><Class id="TCO_Summary" wmi="false" changed="0"><Property index="1" name="Win32_Processor.Name" changed="0">\001a&#1;</Property></Class>%s' \
        "$tail" >"$doc" ;;
      doctype) printf '<!DOCTYPE TS_Root [<!ENTITY e SYSTEM "%s">]>%s<Class id="TCO_Summary" wmi="false" changed="0"/>&e;%s' \
        "$(winpath "$station")" "$head" "$tail" >"$doc" ;;
    esac
    before=$(ls -ld --time-style=+%s "$doc" | awk '{ print $1 $5 $6 }'; [ -f "$doc" ] && md5sum <"$doc")
    agent main winxp "$station" "" "" "$dir" --detail 1 --device $'fault\001row' --document "Z:$doc"
    expect "$what: result" "$result" "$want"
    expect "$what: status (first call of the load)" "$status" 1
    if [ "$want" = 0 ]; then
      if valid "$what: compared document" "$doc"; then
        expect "$what: device id" "$(xq "$doc" "string(/TS_Root/Device/@id)")" faultrow
        expect "$what: previousTimestamp" "$(xq "$doc" "string($asset/@previousTimestamp)")" 20000101000000
      fi
      continue
    fi
    expect "$what: $doc untouched" \
      "$(ls -ld --time-style=+%s "$doc" | awk '{ print $1 $5 $6 }'; [ -f "$doc" ] && md5sum <"$doc")" "$before"
    # The staging file holds the new document as built.
    if valid "$what: staging file" "$dir/Results/Backup/new_AgentHardwareAsset.XML"; then
      expect "$what: staging file unmarked" "$(marked "$dir/Results/Backup/new_AgentHardwareAsset.XML")" 0
    fi
  done <<'ROWS'
directory|directory|-203
malformed|malformed|-203
no-summary|no-summary|-205
document-type|doctype|-203
control-characters|controls|0
ROWS

  # No "Results\Backup" beside the host: a comparison cannot build its
  # staging file, and the previous document stays as it was.
  dir="$work/nostaging" doc="$work/nostaging.xml"
  install_to "$dir"
  agent main winxp "$station" "" "" "$dir" --no-staging --document "Z:$doc"
  expect "no Results\\Backup, first run: result" "$result" 0
  before=$(md5sum <"$doc")
  agent main winxp "$station" "" "" "$dir" --no-staging --document "Z:$doc"
  expect "no Results\\Backup: result" "$result" -1
  expect "no Results\\Backup: document untouched" "$(md5sum <"$doc")" "$before"
  [ ! -e "$dir/Results" ] || fail "no Results\\Backup: the module created it"
}

# Each collection failure: on the NT family the run stops with the class's
# code and writes nothing; on the 9x family it goes on to a document. A
# class that never answers (after one instance) fails as a refused one.
collection_failures() {
  local fixture doc faults wanted kind target
  while read -r wanted kind target; do
    fixture="$work/$kind-$wanted.wmi" doc="$work/$kind-$wanted.xml" faults=""
    case "$kind" in
      refuse) with_directive "$station" "!refuse $target 0x80041001" "$fixture" ;;
      hang) with_directive "$station" "!hang $target after 1" "$fixture" ;;
      fault) cp "$station" "$fixture"; faults=$target ;;
    esac
    rm -f "$doc"
    caller main winxp "$fixture" "$faults" "" runs 1 scenario-pc "Z:$doc" 1
    expect "$kind $target on NT: result" "$result" "$wanted"
    expect "$kind $target on NT: status" "$status" 1
    expect "$kind $target on NT: timestamp" "$stamp" ""
    [ ! -e "$doc" ] || fail "$kind $target on NT: a document was written"

    agent 9x win98 "$fixture" "$faults" "$reg/win9x.reg" "$work/agent9x" --detail 1 --document "Z:$doc"
    expect "$kind $target on 9x: result" "$result" 0
    valid "$kind $target on 9x" "$doc"
    if [ "$kind" != fault ] && [ "$target" != Win32_NetworkAdapterConfiguration ]; then
      expect "$kind $target on 9x: instances of the class" \
        "$(xq "$doc" "count($asset/Class[@id='$target']/Property)")" 0
    fi
  done <<'ROWS'
-21 fault locator=0x80040154
-101 fault connect=0x8004100E
-22 fault blanket=0x80070005
-116 refuse Win32_OperatingSystem
-117 refuse Win32_Processor
-118 refuse Win32_PhysicalMemory
-119 refuse Win32_DiskDrive
-120 refuse Win32_LogicalDisk
-121 refuse Win32_VideoController
-122 refuse Win32_DesktopMonitor
-123 refuse Win32_NetworkAdapter
-124 refuse Win32_NetworkAdapterConfiguration
-125 refuse Win32_CDROMDrive
-126 refuse Win32_SoundDevice
-126 hang Win32_SoundDevice
ROWS
}

# An enumeration that fails part-way keeps what came before.
broken_enumerations() {
  local doc="$work/partway.xml" kept
  with_directive "$station" "!fail Win32_LogicalDisk after 1" "$work/partway.wmi"
  agent main winxp "$work/partway.wmi" "" "" "$work/agent-partway" --detail 1 --document "Z:$doc"
  expect "enumeration failing part-way: result" "$result" 0
  if valid "enumeration failing part-way" "$doc"; then
    kept=$(table "$station" Win32_LogicalDisk FreeSpace | head -n 1 | sum_of)
    expect "enumeration failing part-way: free space" "$(value "$doc" Win32_DiskDrive.TotalFreeSize)" "$kept"
    expect "enumeration failing part-way: logical disks" \
      "$(xq "$doc" "count($asset/Class[@id='Win32_LogicalDisk']/Property[@name='Name'])")" 1
  fi
}

# WMI leaves every summary value to the fallbacks; the registry walks read
# .reg fixtures of each family. Where the row says so, the power library is
# missing, as on 95 and NT 4.0 (loading it fails with 126, or 1157 as Wine
# tells 9x versions). A second run compares with the first.
fallbacks() {
  local version regfile group power doc n regs
  while read -r version regfile group power; do
    doc="$work/fallback-$version.xml"
    regs="$reg/$regfile"
    [ "$power" = missing ] && regs+=" $work/no-power.reg"
    agent "$group" "$version" "$odd" "" "$regs" "$work/agent-$version" \
      --detail 1 --document "Z:$doc"
    expect "fallbacks on $version: result" "$result" 0
    valid "fallbacks on $version" "$doc" || continue
    [ -n "$(value "$doc" Win32_OperatingSystem.Caption)" ] || fail "fallbacks on $version: no OS caption"
    [[ "$(value "$doc" Win32_Processor.Name)" =~ ,\ +[0-9]+\ MHz$ ]] ||
      fail "fallbacks on $version: processor description '$(value "$doc" Win32_Processor.Name)'"
    for name in Win32_PhysicalMemory.TotalCapacity Win32_DiskDrive.TotalSize Win32_DiskDrive.TotalFreeSize; do
      [[ "$(value "$doc" $name)" =~ ^[1-9][0-9]*$ ]] ||
        fail "fallbacks on $version: $name '$(value "$doc" $name)'"
    done
    n=$(xq "$doc" "count($summary/Property[@name='Win32_VideoController.Caption'])")
    grep -qx "Video count : $n" <<<"$debug" || fail "fallbacks on $version: no 'Video count : $n' in: $debug"
    n=$(xq "$doc" "count($summary/Property[@name='Win32_DesktopMonitor.Caption'])")
    grep -qx "Monitor count : $n" <<<"$debug" || fail "fallbacks on $version: no 'Monitor count : $n' in: $debug"
    # Wine's power-policy call is a stub that fails, which the module reports.
    n='-?[0-9]+'
    [ "$power" = missing ] && n='(126|1157)'
    grep -qE "^GetCurrentPowerPolicies is fail\(error : $n\)\$" <<<"$debug" ||
      fail "fallbacks on $version: no power-policy failure line ($n) in: $debug"
    expect "fallbacks on $version: debugger lines" "$(grep -c . <<<"$debug")" 3
    expect "fallbacks on $version: sound names" "$(values "$doc" Win32_SoundDevice.Caption)" "|"

    agent "$group" "$version" "$odd" "" "$regs" "$work/agent-$version" \
      --detail 1 --document "Z:$doc"
    expect "comparison on $version: result" "$result" 0
    valid "comparison on $version" "$doc"
    for n in "$doc.tmp" "$doc.old"; do [ ! -e "$n" ] || fail "comparison on $version: $n left"; done
  done <<'ROWS'
winxp nt5.reg nt5 present
nt40 nt4.reg nt4 missing
win98 win9x.reg 9x present
win95 win9x.reg 9x95 missing
ROWS
}

# "cpuinfo.ini" beside the host snaps the measured speed of this machine's
# processor: the first range holding the measured value names the speed.
speed_table() {
  local dir="$work/agent-speed" doc="$work/speed.xml" name
  install_to "$dir"
  cat >"$dir/cpuinfo.ini" <<'INI'
[CPU_INFO]
CPU_INTEL=INTEL_SPEEDS
CPU_AMD=AMD_SPEEDS
[INTEL_SPEEDS]
NUMBER=3
SPEED1_ST=1
SPEED1_EN=1
SPEED1=1111
SPEED2_ST=2
SPEED2_EN=100000
SPEED2=4321
SPEED3_ST=2
SPEED3_EN=100000
SPEED3=9999
[AMD_SPEEDS]
NUMBER=3
SPEED1_ST=1
SPEED1_EN=1
SPEED1=1111
SPEED2_ST=2
SPEED2_EN=100000
SPEED2=4321
SPEED3_ST=2
SPEED3_EN=100000
SPEED3=9999
INI
  agent main winxp "$odd" "" "" "$dir" --detail 0 --document "Z:$doc"
  expect "speed table: result" "$result" 0
  valid "speed table" "$doc" || return
  name=$(value "$doc" Win32_Processor.Name)
  [[ "$name" =~ ,\ +4321\ MHz$ ]] || fail "speed table: processor description '$name'"
}

# The plain caller: COM already entered in the other apartment model, and
# null pointers.
plain_caller_cases() {
  caller main winxp "$station" "" "" mta 1 scenario-pc "Z:$work/mta.xml"
  expect "caller in the multithreaded apartment: result" "$result" -100
  grep -qx "HW Inv DLL wmi.Init result : -1" <<<"$debug" ||
    fail "caller in the multithreaded apartment: debugger lines: $debug"
  [ ! -e "$work/mta.xml" ] || fail "caller in the multithreaded apartment: a document was written"

  caller main winxp "$station" "" "" nulls "Z:$work/nulls.xml"
  expect "null pointers: calls answered" "$(grep -cE '^-?[0-9]+ ' <<<"$out")" 5
  expect "null pointers: exit code" "$code" 0
  while read -r r s t; do
    grep -qE -- "^(0|-1|-200|-203)$" <<<"$r" || fail "null pointers: result $r"
  done <<<"$out"
  valid "null pointers" "$work/nulls.xml"
}

# MORV_SCENARIOS may name a subset, for a quicker look.
run_cases() {
  local group
  for group in ${MORV_SCENARIOS:-runs_in_sequence document_faults collection_failures \
    broken_enumerations fallbacks speed_table plain_caller_cases}; do
    "$group"
  done
}

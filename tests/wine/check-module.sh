#!/usr/bin/env bash
# Static checks of a built Morv.dll: machine, export table, imports and
# version resource. Usage: check-module.sh OBJDUMP DLL (i386|x86-64)
set -uo pipefail
objdump=$1 dll=$2 machine=$3
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

headers=$("$objdump" -p "$dll") || { echo "cannot read $dll" >&2; exit 1; }
case "$machine" in
  i386) grep -q 'file format pei-i386' <<<"$headers" || fail "not a PE32 Intel 386 image" ;;
  x86-64) grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a PE32+ x86-64 image" ;;
esac

exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | sed 1d | sed '/^$/d')
[ "$(wc -l <<<"$exports")" = 1 ] || fail "exports other than one function: $exports"
grep -qE '\] GetHWInv$' <<<"$exports" || fail "GetHWInv not exported by its plain name: $exports"

# Imports: Windows system DLLs only (no compiler runtime).
system='^(kernel32|user32|advapi32|ole32|oleaut32|msvcrt|winmm|powrprof|shell32|shlwapi|version|gdi32)\.dll$'
while read -r name; do
  grep -qiE "$system" <<<"$name" || fail "imports $name, not a Windows system DLL"
done < <(sed -n 's/^\tDLL Name: //p' <<<"$headers")

grep -q 'Resource Directory' <<<"$headers" || fail "no resource directory"
LC_ALL=C grep -qaP 'H\x00a\x00r\x00d\x00w\x00a\x00r\x00e\x00 \x00i\x00n\x00v' "$dll" || fail "no version description"

[ "$failures" = 0 ] && echo "module checks passed: $dll"
exit $((failures > 0))

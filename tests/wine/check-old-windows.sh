#!/usr/bin/env bash
# Static checks that the 32-bit binaries load and run on old Windows and old
# processors: every import must be listed in imports-i386.txt (which may
# list only what Windows 95 and NT 4.0 export), and each binary may hold no
# more post-Pentium instructions than post-pentium-limits.txt allows.
# Usage: check-old-windows.sh OBJDUMP IMPORT-LIST LIMITS BINARY...
set -uo pipefail
objdump=$1 list=$2 limits=$3
shift 3
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

# The list itself: only 95/NT 4.0 functions, stubs explained.
declare -A listed
while read -r dll function nine nt note; do
  listed["$dll $function"]=1
  case "$nine" in 95 | 95+DCOM) ;; 95:stub) [ -n "$note" ] || fail "$dll $function: a stub without a note" ;;
    *) fail "$dll $function: 9x column '$nine' is not 95, 95+DCOM or 95:stub" ;; esac
  case "$nt" in NT3.1 | NT3.5 | NT3.51 | NT4.0) ;; *) fail "$dll $function: NT column '$nt' is later than NT4.0" ;; esac
done < <(grep -v '^#' "$list" | sed '/^[[:space:]]*$/d')

imports() { # BINARY: "dll function" per import
  "$objdump" -p "$1" | awk -F'\t' '
    /^\tDLL Name: / { dll = tolower(substr($2, 11)); sub(/\.dll$/, "", dll); next }
    dll != "" && NF == 3 && $2 ~ /^[0-9a-f]+$/ { n = split($3, w, " "); print dll, w[n] }'
}

declare -A used
for binary in "$@"; do
  name=$(basename "$binary")
  [ -f "$binary" ] || { fail "$binary missing"; continue; }
  while read -r dll function; do
    used["$dll $function"]=1
    [ -n "${listed["$dll $function"]:-}" ] || fail "$name imports $dll!$function, not in $(basename "$list")"
  done < <(imports "$binary")

  allowed=$(awk -v b="$name" '$1 == b { print $2 }' "$limits")
  [ -n "$allowed" ] || { fail "$name has no limit in $(basename "$limits")"; continue; }
  # The exception tables the linker places in the code section are data,
  # whatever their bytes disassemble to.
  by_function() {
    "$objdump" -d -C --no-show-raw-insn "$binary" | awk -v re=$'\t(cmov[a-z]*|fcmov[a-z]*|fu?comip?|sysenter) |%xmm' '
      /^[0-9a-f]+ <.*>:$/ { fn = substr($0, index($0, "<")); next }
      fn != "<.gcc_except_table>:" && $0 ~ re { n[fn]++ }
      END { for (f in n) printf "  %4d %s\n", n[f], f }' | sort -rn
  }
  count=$(by_function | awk '{ s += $1 } END { print s + 0 }')
  if [ "$count" -gt "$allowed" ]; then
    fail "$name holds $count post-Pentium instructions, $allowed allowed; by function:"
    by_function >&2
  fi
  echo "$name: $count post-Pentium instructions ($allowed allowed)"
done
for key in "${!listed[@]}"; do
  [ -n "${used[$key]:-}" ] || fail "$key is listed but imported by none of the binaries"
done

[ "$failures" = 0 ] && echo "old-Windows checks passed"
exit $((failures > 0))

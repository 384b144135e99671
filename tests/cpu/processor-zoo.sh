#!/usr/bin/env bash
# processor-zoo.sh ZOO TABLE: runs the 32-bit program ZOO under qemu-i386 on
# every CPU model of TABLE (qemu-models.txt) and compares the vendor string,
# signature and description it prints with the row ({speed} stands for any
# whole number). A model whose signature is "skip" must fault with an
# illegal instruction instead. The table must name every model qemu-i386
# lists under its own name, and no other.
set -uo pipefail
zoo=$1 table=$2
command -v qemu-i386 >/dev/null || { echo "qemu-i386 missing (package qemu-user)" >&2; exit 1; }
# qemu-user cannot stop threads as LeakSanitizer does at exit; the
# sanitizers read this from qemu's own environment.
export ASAN_OPTIONS=detect_leaks=0
rows=$(grep -v '^#' "$table" | sed -E 's/ *\| */|/g; s/^ +//; s/ +$//' | grep .)
status=0
if ! diff <(qemu-i386 -cpu help | awk '/^x86 / && !/\(alias /{print $2}' | sort) \
  <(cut -d'|' -f1 <<<"$rows" | sort); then
  echo "FAIL the table's models differ from qemu-i386's (< qemu only, > table only)"
  status=1
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cut -d'|' -f1 <<<"$rows" | xargs -P 2 -I{} sh -c \
  'timeout 60 qemu-i386 -cpu "$1" "$2" >"$3/$1.out" 2>"$3/$1.err"; echo $? >"$3/$1.rc"' _ {} "$zoo" "$out"

ran=0 skipped=0
while IFS='|' read -r model vendor signature want _; do
  rc=$(cat "$out/$model.rc")
  if [ "$signature" = skip ]; then
    skipped=$((skipped + 1))
    [ "$rc" -eq 132 ] && echo "skip $model: $want" && continue
    echo "FAIL $model: listed as skipped but exited with $rc instead of faulting"
    status=1
    continue
  fi
  ran=$((ran + 1))
  got=$(sed -n 's/^description //p' "$out/$model.out")
  if [ "$rc" -eq 0 ] && grep -qxF "vendor $vendor" "$out/$model.out" &&
    grep -qxF "signature $signature" "$out/$model.out" &&
    [[ $got == "${want%%\{speed\}*}"+([0-9])"${want#*\{speed\}}" ]]; then
    echo "ok   $model: $got"
  else
    echo "FAIL $model (exit $rc): want $vendor $signature \"$want\"; got:"
    sed 's/^/  /' "$out/$model.out"
    grep -v 'TCG doesn.t support' "$out/$model.err" | head -5 | sed 's/^/  stderr: /'
    status=1
  fi
done <<<"$rows"
echo "processor zoo: $ran models run, $skipped skipped"
exit "$status"

#!/usr/bin/env bash
# processor-zoo.sh ZOO TABLE: runs the 32-bit program ZOO under qemu-i386 on
# every CPU model of TABLE (qemu-models.txt) and compares the vendor string,
# signature and description it prints with the row. A model whose signature
# is "skip" must fault with an illegal instruction instead. The table must
# name every model qemu-i386 lists under its own name, and no other.
set -uo pipefail

zoo=$1
table=$2
jobs=2
command -v qemu-i386 >/dev/null || { echo "qemu-i386 missing (package qemu-user)" >&2; exit 1; }
# qemu-user cannot stop threads as LeakSanitizer does at exit; the
# sanitizers read this from qemu's own environment.
export ASAN_OPTIONS=detect_leaks=0

trim() {
  local s=$1
  s=${s#"${s%%[![:space:]]*}"}
  printf '%s' "${s%"${s##*[![:space:]]}"}"
}

declare -A vendor signature description
models=()
while IFS='|' read -r model v s d _; do
  model=$(trim "$model")
  [[ -z $model || $model == \#* ]] && continue
  models+=("$model")
  vendor[$model]=$(trim "$v")
  signature[$model]=$(trim "$s")
  description[$model]=$(trim "$d")
done <"$table"

status=0
listed=$(qemu-i386 -cpu help | awk '/^x86 / && !/\(alias /{print $2}' | sort)
tabled=$(printf '%s\n' "${models[@]}" | sort)
if [ "$listed" != "$tabled" ]; then
  echo "FAIL the table's models differ from qemu-i386's (< qemu only, > table only):"
  diff <(echo "$listed") <(echo "$tabled") | grep '^[<>]'
  status=1
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for model in "${models[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  (
    timeout 60 qemu-i386 -cpu "$model" "$zoo" >"$out/$model.out" 2>"$out/$model.err"
    echo $? >"$out/$model.rc"
  ) 2>/dev/null &
done
wait

ran=0
skipped=0
for model in "${models[@]}"; do
  rc=$(cat "$out/$model.rc")
  if [ "${signature[$model]}" = skip ]; then
    skipped=$((skipped + 1))
    if [ "$rc" -eq 132 ]; then
      echo "skip $model: ${description[$model]}"
    else
      echo "FAIL $model: listed as skipped but exited with $rc instead of faulting"
      status=1
    fi
    continue
  fi
  ran=$((ran + 1))
  got_vendor=$(sed -n 's/^vendor //p' "$out/$model.out")
  got_signature=$(sed -n 's/^signature //p' "$out/$model.out")
  got=$(sed -n 's/^description //p' "$out/$model.out")
  want=${description[$model]}
  prefix=${want%%\{speed\}*}
  suffix=${want#*\{speed\}}
  speed=
  if [[ $got == "$prefix"* && $got == *"$suffix" ]] &&
    [ $((${#got} - ${#prefix} - ${#suffix})) -gt 0 ]; then
    speed=${got:${#prefix}:$((${#got} - ${#prefix} - ${#suffix}))}
  fi
  if [ "$rc" -eq 0 ] && [ "$got_vendor" = "${vendor[$model]}" ] &&
    [ "$got_signature" = "${signature[$model]}" ] && [[ $speed =~ ^[0-9]+$ ]]; then
    echo "ok   $model: $got"
  else
    echo "FAIL $model (exit $rc)"
    echo "  want: ${vendor[$model]} ${signature[$model]} \"$want\""
    echo "  got:  $got_vendor $got_signature \"$got\""
    sed 's/^/  stderr: /' "$out/$model.err" | grep -v 'TCG doesn.t support' | head -5
    status=1
  fi
done
echo "processor zoo: $ran models run, $skipped skipped"
exit "$status"

#!/usr/bin/env bash
# Builds the 32-bit release and writes dist/morv-<version>-win32/ and
# dist/morv-<version>-win32.zip, then checks them (tests/package).
# Reuses the win32 build when it is there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh >/dev/null
preset=win32
build="$root/build/$preset"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Morv morv-agent morv_import_libraries >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name="morv-$version-$preset"
out="$root/dist/$name"
rm -rf "$out" "$out.zip"
cmake --install "$build" --component dist --prefix "$out" --strip >/dev/null

# README.txt: sections of README.md and the result codes of the header, as
# plain ASCII text with Windows line ends.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -std=c99 -Wall -Wextra -I "$root" -o "$work/result-codes" package/result-codes.c

# The text under a heading of README.md up to the next heading of the same
# or a higher level, without code fences, tables or backticks.
section() {
  awk -v heading="$1" '
    $0 == heading { on = 1; level = length($1); next }
    on && /^#+ / && length($1) <= level { exit }
    on && !started && /^$/ { next }
    on && !/^```/ && !/^\|/ { started = 1; gsub(/`/, ""); print }' README.md
}
# What comes before the first section: the module, the call, the arguments.
intro() { awk 'NR > 1 && /^## / { exit } NR > 2 && !/^```/ { gsub(/`/, ""); print }' README.md; }

while IFS= read -r line; do
  case "$line" in
    @TITLE@) title="Morv $version for 32-bit Windows" && echo "$title" && echo "${title//?/=}" ;;
    @INTRO@) intro ;;
    @RESULT_CODES@) "$work/result-codes" && echo && section '## Result codes' ;;
    @FILES@) section '## Files' ;;
    @PLATFORMS@) section '## Platforms' ;;
    @AGENT@) section '## morv-agent' ;;
    *) printf '%s\n' "${line//@VERSION@/$version}" ;;
  esac
done <package/README.txt.in | cat -s | iconv -f UTF-8 -t ASCII//TRANSLIT | sed 's/$/\r/' \
  >"$out/README.txt"

(cd "$out" && files=(*) && sha256sum -- "${files[@]}" >SHA256SUMS)
(cd "$root/dist" && zip -qrX "$name.zip" "$name")
echo "package: dist/$name/ and dist/$name.zip"

tests/package/check-package.sh "$out" "$version" "$build"

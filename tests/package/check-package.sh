#!/usr/bin/env bash
# Checks a release folder and its zip: the files, the checksums, the
# version everywhere it is stated, README.txt, and that a caller linked
# against each import library imports GetHWInv from Morv.dll. The callers
# are 32-bit and are not run. Usage: check-package.sh DIR VERSION BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1 version=$2 build=$3
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files="AssetDocument.xsd Morv.def Morv.dll Morv.h Morv.lib README.txt SHA256SUMS
libMorv.dll.a morv-agent.exe"
want=$(tr ' ' '\n' <<<"$files" | sort)
[ "$(ls "$dir" | sort)" = "$want" ] || fail "folder holds: $(ls "$dir" | tr '\n' ' ')"
name=$(basename "$dir")
[ "$(unzip -Z1 "$dir.zip" | grep -v '/$' | sort)" = "$(sed "s|^|$name/|" <<<"$want")" ] ||
  fail "$name.zip does not hold the folder's files"
unzip -tq "$dir.zip" >/dev/null || fail "$name.zip does not test clean"
(cd "$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not verify"
[ "$(wc -l <"$dir/SHA256SUMS")" = 8 ] || fail "SHA256SUMS does not cover the other eight files"

# The version resource: the fixed part (major.minor.patch.0) and the texts.
resource_version() {
  local offset
  offset=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -1 | cut -d: -f1)
  [ -n "$offset" ] || return
  od -An -tu2 -j $((offset + 8)) -N 8 "$1" | awk '{ print $2 "." $1 "." $4 "." $3 }'
  strings -el "$1" | grep -A1 -xE 'FileVersion|ProductVersion' | grep -vxE 'FileVersion|ProductVersion|--'
}
for binary in Morv.dll morv-agent.exe; do
  got=$(resource_version "$dir/$binary" | tr '\n' ' ')
  [ "$got" = "$version.0 $version $version " ] || fail "$binary version resource: $got"
done
grep -qx "#define MORV_VERSION_TEXT \"$version\"" "$dir/Morv.h" || fail "Morv.h: no version $version"

# README.txt: plain text naming every result code the header defines.
LC_ALL=C grep -q '[^[:print:][:space:]]' "$dir/README.txt" && fail "README.txt is not plain ASCII"
for code in $(sed -n 's/^#define MORV_\(OK\|E_[A-Z_]*\) (\{0,1\}\(-\{0,1\}[0-9]*\))\{0,1\} .*/\2/p' "$dir/Morv.h" |
  grep -v '^$' | sort -u); do
  grep -qE "^ *$code  " "$dir/README.txt" || fail "README.txt lacks result code $code"
done
for text in 'GetHWInv(' detailMode deviceId documentPath changeStatus timestampOut \
  'Results\Backup' 'Windows 95' 'morv-agent --show'; do
  grep -qF -- "$text" "$dir/README.txt" || fail "README.txt does not mention $text"
done

# Morv.dll!GetHWInv and nothing else from it, in the import table of $1.
imports_get_hw_inv() {
  llvm-readobj --coff-imports "$1" | awk '
    /Name: / { dll = $2 } /Symbol: / && dll == "Morv.dll" { print $2 }' | tr '\n' ' '
}
v=(${version//./ })
wants=(-DWANT_MAJOR="${v[0]}" -DWANT_MINOR="${v[1]}" -DWANT_PATCH="${v[2]}")

# MSVC-style: clang for i686-pc-windows-msvc, lld-link, no C runtime.
if llvm-dlltool -m i386 -k -d "$here/kernel32.def" -l "$work/kernel32.lib" &&
  clang --target=i686-pc-windows-msvc -std=c99 -Wall -Wextra -Werror -ffreestanding "${wants[@]}" \
    -I "$dir" -c "$here/caller.c" -o "$work/caller.obj" &&
  lld-link /nologo /entry:Start /subsystem:console /nodefaultlib /out:"$work/msvc.exe" \
    "$work/caller.obj" "$dir/Morv.lib" "$work/kernel32.lib"; then
  got=$(imports_get_hw_inv "$work/msvc.exe")
  [ "$got" = "GetHWInv " ] || fail "MSVC-style caller imports from Morv.dll: $got"
else
  fail "MSVC-style link"
fi

# MinGW: the C compiler of the build.
cc=$(cat "$build/package/c-compiler.txt")
if "$cc" -std=c99 -Wall -Wextra -Werror -ffreestanding -nostdlib -Wl,-e,_Start "${wants[@]}" \
  -I "$dir" "$here/caller.c" -o "$work/mingw.exe" "$dir/libMorv.dll.a" -lkernel32; then
  got=$(imports_get_hw_inv "$work/mingw.exe")
  [ "$got" = "GetHWInv " ] || fail "MinGW caller imports from Morv.dll: $got"
else
  fail "MinGW link"
fi

[ "$failures" = 0 ] && echo "package checks passed: $dir"
exit $((failures > 0))

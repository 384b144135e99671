#!/usr/bin/env bash
# The main job: builds the module and morv-agent, runs one inventory under
# Wine and shows the asset document it wrote.
#
# Wine 8's WMI lacks the desktop-monitor properties, so on an NT-family
# version the run stops at that query with -122, as the module's contract
# demands. The agent therefore runs with Wine reporting Windows 98, where
# the module carries on past a failed query and fills in from the registry.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh >/dev/null
source scripts/wine-env.sh
for preset in win32 "$MORV_WIN_PRESET"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target Morv morv-agent >/dev/null
done

build="build/$MORV_WIN_PRESET"
out="$PWD/build/inventory"
mkdir -p "$out"
install="$out/agent"
mkdir -p "$install"
cp "$build/bin/morv-agent.exe" "$build/bin/Morv.dll" "$install/"

echo "== inventory run ($MORV_WINEARCH Wine, reporting Windows 98)"
set +e
MORV_BUILD_DIR="$PWD/$build" tests/wine/wine-run --group inventory --keep --reuse --version win98 \
  --debug-out "$out/debug.txt" -- "$install/morv-agent.exe" --document "Z:$out/AgentHardwareAsset.XML" \
  "$@"
result=$?
set -e
echo "== debugger output"
cat "$out/debug.txt"
if [ -f "$out/AgentHardwareAsset.XML" ]; then
  echo "== $out/AgentHardwareAsset.XML"
  xmllint --format "$out/AgentHardwareAsset.XML"
fi
exit "$result"

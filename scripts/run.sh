#!/usr/bin/env bash
# Builds Quorvel.exe and opens its window (under Wine on Linux).
# Usage: scripts/run.sh [windows | windows-x86]   (the 64-bit exe unless the 32-bit one is named)
# On a machine that cannot execute 32-bit code, the 32-bit exe is refused before anything is built.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows}

source scripts/wine-env.sh
need_preset_here "$preset"
extra=()
[ -n "${DISPLAY:-}" ] || extra=(xvfb xauth)
wine_deps "${extra[@]}"
mingw_deps

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Quorvel >/dev/null

trap wine_stop EXIT
if [ -n "${DISPLAY:-}" ]; then
  wine_start
else
  echo "No display: the window opens on a virtual X display of its own."
  wine_start --xvfb
fi
echo "Opening build/$preset/Quorvel.exe (DISPLAY=$DISPLAY)"
wine "build/$preset/Quorvel.exe"

#!/usr/bin/env bash
# Builds Quorvel.exe and opens its window (under Wine on Linux).
set -euo pipefail
cd "$(dirname "$0")/.."

extra=()
[ -n "${DISPLAY:-}" ] || extra=(xvfb xauth)
scripts/deps.sh cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 \
  fonts-liberation "${extra[@]}"

cmake --preset windows >/dev/null
cmake --build --preset windows --target Quorvel >/dev/null

source scripts/wine-env.sh
trap wine_stop EXIT
if [ -n "${DISPLAY:-}" ]; then
  wine_start
else
  echo "No display: the window opens on a virtual X display of its own."
  wine_start --xvfb
fi
echo "Opening build/windows/Quorvel.exe (DISPLAY=$DISPLAY)"
wine build/windows/Quorvel.exe

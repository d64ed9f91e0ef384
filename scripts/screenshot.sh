#!/usr/bin/env bash
# Builds the program and writes a PNG of its window under Xvfb.
# Usage: scripts/screenshot.sh [out.png] [--compute]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/window.png}
source scripts/wine-env.sh
wine_deps xvfb xauth x11-apps imagemagick g++-mingw-w64-x86-64-posix cmake make

cmake --preset windows >/dev/null
cmake --build --preset windows --target Quorvel >/dev/null

trap wine_stop EXIT
wine_start --xvfb
# A Wine desktop of the window's size and a little more, so that Wine draws the frame too.
wine explorer /desktop=Quorvel,600x440 build/windows/Quorvel.exe >/dev/null 2>&1 &
app=$!
sleep 5
mkdir -p "$(dirname "$out")"
xwd -root -silent | /usr/bin/convert xwd:- -crop 600x440+0+0 +repage "$out"
kill "$app" 2>/dev/null || true
echo "wrote $out"

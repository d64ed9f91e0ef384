#!/usr/bin/env bash
# Builds the program and writes a PNG of its window under Xvfb.
# Usage: scripts/screenshot.sh [out.png] [--compute]
#   --compute: press "Изчисли" first (Tab to the button, then Space), as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/window.png}
compute=${2:-}
source scripts/wine-env.sh
wine_deps xvfb xauth x11-apps imagemagick xdotool g++-mingw-w64-x86-64-posix cmake make

cmake --preset windows >/dev/null
cmake --build --preset windows --target Quorvel >/dev/null

trap wine_stop EXIT
wine_start --xvfb
# A Wine desktop of the window's size and a little more, so that Wine draws the frame too.
wine explorer /desktop=Quorvel,600x440 build/windows/Quorvel.exe >/dev/null 2>&1 &
app=$!
sleep 5
if [ "$compute" = "--compute" ]; then
  xdotool search --name "Quorvel" windowfocus --sync 2>/dev/null || true
  xdotool key Tab Tab Tab space
  sleep 1
fi
mkdir -p "$(dirname "$out")"
xwd -root -silent | /usr/bin/convert xwd:- -crop 600x440+0+0 +repage "$out"
kill "$app" 2>/dev/null || true
echo "wrote $out"

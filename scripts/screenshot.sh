#!/usr/bin/env bash
# Builds the program and writes a PNG of its window under Xvfb.
# Usage: scripts/screenshot.sh [out.png] [--compute] [--x86]
#   --compute: press "Изчисли" first (Tab to the button, then Space), as a user would.
#   --x86: the 32-bit exe instead of the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/window.png
compute=no
preset=windows
for arg in "$@"; do
  case "$arg" in
    --compute) compute=yes ;;
    --x86) preset=windows-x86 ;;
    *) out=$arg ;;
  esac
done
source scripts/wine-env.sh
need_preset_here "$preset"
wine_deps xvfb xauth x11-apps imagemagick xdotool
mingw_deps

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Quorvel >/dev/null

trap wine_stop EXIT
wine_start --xvfb
# A Wine desktop of the window's size and a little more, so that Wine draws the frame too.
wine explorer /desktop=Quorvel,600x440 "build/$preset/Quorvel.exe" >/dev/null 2>&1 &
app=$!
sleep 5
if [ "$compute" = yes ]; then
  xdotool search --name "Quorvel" windowfocus --sync 2>/dev/null || true
  xdotool key Tab Tab Tab space
  sleep 1
fi
mkdir -p "$(dirname "$out")"
xwd -root -silent | /usr/bin/convert xwd:- -crop 600x440+0+0 +repage "$out"
kill "$app" 2>/dev/null || true
echo "wrote $out"

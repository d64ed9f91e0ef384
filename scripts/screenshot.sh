#!/usr/bin/env bash
# Sets the checkout up (scripts/setup.sh), builds the program and writes a PNG of its window
# under Xvfb.
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
scripts/setup.sh
source scripts/machine.sh
need_preset_here "$preset"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Quorvel >/dev/null

scripts/wine-session.sh start >/dev/null
trap 'scripts/wine-session.sh stop' EXIT
DISPLAY=$(cat build/wine-session/display)
export DISPLAY
# A Wine desktop of the window's size and a little more, so that Wine draws the frame too.
scripts/wine.sh explorer /desktop=Quorvel,600x440 "build/$preset/Quorvel.exe" >/dev/null 2>&1 &
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

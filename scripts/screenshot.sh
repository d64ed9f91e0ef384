#!/usr/bin/env bash
# Sets the checkout up (scripts/setup.sh), builds the program and writes a PNG of its window
# under Xvfb, once the window is drawn; fails, writing nothing, if it is not within 60 s.
# Usage: scripts/screenshot.sh <out.png> [--compute] [--x86]
#   --compute: press "Изчисли" first (Tab to the button, then Space), as a user would.
#   --x86: the 32-bit exe instead of the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
out=""
compute=no
preset=windows
for arg in "$@"; do
  case "$arg" in
    --compute) compute=yes ;;
    --x86) preset=windows-x86 ;;
    *) out=$arg ;;
  esac
done
[ -n "$out" ] || { echo "usage: scripts/screenshot.sh <out.png> [--compute] [--x86]" >&2; exit 2; }
scripts/setup.sh
source scripts/machine.sh
need_preset_here "$preset"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Quorvel >/dev/null

scripts/wine-session.sh start >/dev/null
DISPLAY=$(cat build/wine-session/display)
export DISPLAY
shot=$(mktemp --suffix=.png)
trap 'rm -f "$shot"; scripts/wine-session.sh stop' EXIT
capture() { xwd -root -silent | /usr/bin/convert xwd:- -crop 600x440+0+0 +repage "$shot"; }
# Wine draws the desktop and the window into one X window, so the window shows only in its
# pixels: it is there once the picture has many colours (text, frame, icon), differs from the
# picture <before> (if given) and stays the same for half a second.
picture=""
settled() {
  local last="" tries
  for tries in $(seq 120); do
    sleep 0.5
    capture
    picture=$(/usr/bin/convert "$shot" -format '%k %#' info:)
    [ "${picture%% *}" -gt 50 ] && [ "$picture" != "${1:-}" ] && [ "$picture" = "$last" ] &&
      return 0
    last=$picture
  done
  return 1
}
# A Wine desktop of the window's size and a little more, so that Wine draws the frame too.
scripts/wine.sh explorer /desktop=Quorvel,600x440 "build/$preset/Quorvel.exe" >/dev/null 2>&1 &
app=$!
settled || { kill "$app" 2>/dev/null; echo "FAIL: no window was drawn within 60 s" >&2; exit 1; }
if [ "$compute" = yes ]; then
  xdotool search --name "Quorvel" windowfocus --sync 2>/dev/null || true
  xdotool key Tab Tab Tab space
  settled "$picture" ||
    { kill "$app" 2>/dev/null; echo "FAIL: the window did not change after Изчисли" >&2; exit 1; }
fi
# Closed as a user closes it; the desktop ends with its last window.
xdotool key alt+F4
for tries in $(seq 100); do kill -0 "$app" 2>/dev/null && sleep 0.1 || break; done
if kill -0 "$app" 2>/dev/null; then
  kill "$app"
  echo "FAIL: the window did not close with Alt+F4" >&2
  exit 1
fi
mkdir -p "$(dirname "$out")"
cp "$shot" "$out"
echo "wrote $out"

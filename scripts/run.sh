#!/usr/bin/env bash
# Sets the machine up, builds Quorvel.exe and opens its window under Wine, on the display there
# is or, without one, on a virtual X display of its own.
# Usage: scripts/run.sh [windows | windows-x86]   (the 64-bit exe unless the 32-bit one is named)
# On a machine that cannot execute 32-bit code, the 32-bit exe is refused before anything is built.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows}

scripts/setup.sh
source scripts/machine.sh
need_preset_here "$preset"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Quorvel >/dev/null

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the window opens on a virtual X display of its own."
  scripts/wine-session.sh start
  trap 'scripts/wine-session.sh stop' EXIT
fi
echo "Opening build/$preset/Quorvel.exe"
# Waited for in the background, so that a signal stops the session (and the window) at once.
scripts/wine.sh "build/$preset/Quorvel.exe" &
wait $!

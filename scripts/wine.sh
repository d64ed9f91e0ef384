#!/usr/bin/env bash
# Runs a Windows program, or one of Wine's tools, in the project's Wine prefix as scripts/setup.sh
# made it: the CTest emulator of the Windows presets and what every script starts Windows
# programs with. It takes the display and the wineserver of the running test session
# (scripts/wine-session.sh), if any, and holds that session's lock shared while the program runs;
# with QUORVEL_WINE_ALONE=1 it holds it alone, for a program that changes what the whole desktop
# shares (its windows, the focus, the clipboard, the system colours), so that no other run's
# program meets those changes.
# Where no 32-bit program runs, a 32-bit one is not started: status 77, which CTest counts as
# skipped, with the reason.
# Usage: scripts/wine.sh <program.exe | wineserver | wine tool> [arguments]
set -uo pipefail
source "$(dirname "$0")/machine.sh"
export WINEPREFIX=$QUORVEL_ROOT/build/wineprefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
# No Mono, Gecko or menu entries; and no debugger, so that a program that crashes ends at once
# instead of waiting for someone to attach.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Wine's 64-bit loader everywhere: it starts the 32-bit one for 32-bit programs alone.
export WINELOADER=/usr/lib/wine/wine64 PATH=$QUORVEL_ROOT/build/wine64-loader:$PATH
session=$QUORVEL_ROOT/build/wine-session
[ ! -f "$session/display" ] || DISPLAY=$(cat "$session/display")
export DISPLAY

program=$1
[ "$program" != wineserver ] || exec wineserver "${@:2}"
if [ -f "$program" ] && ! runs_32bit && exe_architecture "$program" && [ "$bits" = 32 ]; then
  echo "skipped: a 32-bit program, and $(without_32bit)"
  exit 77
fi
if [ -z "${QUORVEL_WINE_LOCKED:-}" ]; then
  exec 9>>"$QUORVEL_ROOT/build/wine-session.lock"
  if [ -n "${QUORVEL_WINE_ALONE:-}" ]; then flock -x 9; else flock -s 9; fi
fi
# Wine's helper processes can keep a pipe open long after the program ended: the output goes
# through a file.
out=$(mktemp)
wine "$program" "${@:2}" >"$out" 2>&1 9>&-
status=$?
cat "$out"
rm -f "$out"
exit $status

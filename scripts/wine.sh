#!/usr/bin/env bash
# Runs a Windows program, or one of Wine's tools, in the project's Wine prefix as scripts/setup.sh
# made it: the CTest emulator of the Windows presets and what every script starts Windows
# programs with. It takes the display and the wineserver of the running test session
# (scripts/wine-session.sh), if any. Where no 32-bit program runs, a 32-bit one is not started:
# status 77, which CTest counts as skipped, with the reason; GoogleTest's listing of its tests
# then comes from the 64-bit build of the same sources.
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
if [ -f "$program" ] && ! runs_32bit &&
  x86_64-w64-mingw32-objdump -f "$program" 2>/dev/null | grep -q 'pei-i386'; then
  twin=${program/\/windows-x86\//\/windows\/}
  if [[ " $* " != *" --gtest_list_tests "* ]]; then
    echo "skipped: a 32-bit program, and $(without_32bit)"
    exit 77
  elif [ ! -f "$twin" ]; then
    echo "FAIL: $(without_32bit); the 32-bit tests are listed from the 64-bit build," \
      "so build the windows preset first"
    exit 1
  fi
  program=$twin
fi
# Wine's helper processes can keep a pipe open long after the program ended: the output goes
# through a file.
out=$(mktemp)
wine "$program" "${@:2}" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status

#!/usr/bin/env bash
# A session for the Windows tests: an Xvfb display and a persistent wineserver (each start of a
# program then takes about 0.1 s instead of 4), each in a session of its own. Every build tree,
# script or IDE that runs Windows programs at once shares the one session of the checkout's
# prefix: "start" joins a live one, "stop" leaves it, and the last to leave stops it. A watchdog
# stops it as soon as no process that joined is left, whether it ended, was interrupted with
# Ctrl+C or killed: Xvfb by its process id, the wineserver by the prefix's lock, which names its
# one process. CTest's fixture runs "start", and "stop" at the end.
# The state is in build/wine-session/. Every program that scripts/wine.sh starts holds
# build/wine-session.lock shared while it runs; starting, stopping and a change of DPI take it
# alone, so that none of them pulls the wineserver from under a running program.
# Usage: scripts/wine-session.sh start | stop | at-dpi <dpi> <command>...
#   at-dpi: Wine's system DPI set for the command alone; the wineserver starts again around it,
#   since Wine 10 reads the setting only then. Programs the command starts share its lock.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
state=build/wine-session
wine=scripts/wine.sh

# A process that ended is no longer running even while nobody has reaped it yet.
running() {
  kill -0 "$1" 2>/dev/null || return 1
  local stat
  stat=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
  [[ $stat != Z* ]]
}
alive() { [ -f "$state/$1.pid" ] && running "$(cat "$state/$1.pid")"; }
stop_pid() {  # stop_pid <name> [signal]: ends the process and waits up to 5 s for it to go
  alive "$1" || { rm -f "$state/$1.pid"; return 0; }
  local pid tries
  pid=$(cat "$state/$1.pid")
  kill -"${2:-TERM}" "$pid" 2>/dev/null || true
  for tries in $(seq 50); do running "$pid" && sleep 0.1 || break; done
  rm -f "$state/$1.pid"
}
# The session's lock, alone, for the rest of this process; the programs started under it
# (scripts/wine.sh) know they are inside it. What runs on after this process must not keep it.
lock_alone() {
  mkdir -p build
  exec 9>>build/wine-session.lock
  flock 9
  export QUORVEL_WINE_LOCKED=1
}
# The processes that joined the session and are still running; the others are forgotten.
users() {
  local user
  for user in "$state"/users/*; do
    [ -e "$user" ] || continue
    if running "${user##*/}"; then echo "${user##*/}"; else rm -f "$user"; fi
  done
}
# The prefix's wineserver, whoever started it; "-k" ends it and waits until it has gone.
server_alive() { $wine wineserver -k0 >/dev/null 2>&1; }
server_stop() { $wine wineserver -k >/dev/null 2>&1 || true; }
# Without -f the server returns only once it serves, in a session of its own: a program started
# before then would start a server of its own, and ours would end at once (status 2).
server_start() {
  local tries
  for tries in 1 2 3; do
    server_stop  # one a program started alone may have left
    $wine wineserver -p >/dev/null 2>&1 9>&- && return 0
  done
  echo "FAIL: the Wine session's wineserver would not start" >&2
  exit 1
}
session_stop() {
  [ -d "$state" ] || return 0
  [ "$(cat "$state/watchdog.pid" 2>/dev/null)" = $$ ] || stop_pid watchdog KILL
  server_stop
  stop_pid xvfb
  rm -rf "$state"
}
set_dpi() {  # 96, Wine's default, deletes the value
  if [ "$1" = 96 ]; then
    $wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    $wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  fi
  server_stop
  server_start
}

case "${1:-}" in
  start)
    lock_alone
    if alive xvfb && server_alive && alive watchdog; then
      touch "$state/users/$PPID"
      echo "Wine session on display $(cat "$state/display") joined by process $PPID"
      exit 0
    fi
    if [ -d "$state" ]; then
      echo "the last Wine session had lost its$(alive xvfb || echo -n " Xvfb")$(server_alive ||
        echo -n " wineserver")$(alive watchdog || echo -n " watchdog"): a new one starts"
    fi
    session_stop  # whatever a killed run left
    mkdir -p "$state/users"
    fifo=$state/display.fifo
    mkfifo "$fifo"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 9>&- &
    echo $! >"$state/xvfb.pid"
    read -r number <"$fifo"
    rm -f "$fifo"
    echo ":$number" >"$state/display"
    server_start
    if $wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels >/dev/null 2>&1; then
      set_dpi 96  # whatever an interrupted run left
    fi
    touch "$state/users/$PPID"
    setsid "$self" watch </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$state/watchdog.pid"
    echo "Wine session on display :$number for process $PPID"
    ;;
  stop)
    lock_alone
    rm -f "$state/users/$PPID"
    [ -n "$(users)" ] || session_stop
    ;;
  watch)  # the watchdog: stops the session once nobody who joined it is left
    while :; do
      sleep 0.5
      [ -z "$(users)" ] || continue
      lock_alone
      [ -n "$(users)" ] || { session_stop; exit 0; }
      flock -u 9
    done
    ;;
  at-dpi)
    lock_alone
    set_dpi "$2"
    status=0
    "${@:3}" || status=$?
    set_dpi 96
    exit $status
    ;;
  *)
    echo "usage: scripts/wine-session.sh start | stop | at-dpi <dpi> <command>..." >&2
    exit 2
    ;;
esac

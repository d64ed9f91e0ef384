#!/usr/bin/env bash
# A session for the Windows tests: an Xvfb display and a persistent wineserver (each start of a
# program then takes about 0.1 s instead of 4), each in a session of its own. A watchdog stops
# both by their process ids as soon as the process that started the session is gone, whether it
# ended, was interrupted with Ctrl+C or killed: CTest's fixture runs "start", and "stop" at the
# end. The state is in build/wine-session/.
# Usage: scripts/wine-session.sh start | stop | at-dpi <dpi> <command>...
#   at-dpi: Wine's system DPI set for the command alone; the wineserver starts again around it,
#   since Wine 10 reads the setting only then.
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
server_start() {
  $wine wineserver -k >/dev/null 2>&1 || true  # one a test discovery may have left lingering
  setsid $wine wineserver -f -p >/dev/null 2>&1 &
  echo $! >"$state/wineserver.pid"
}
server_stop() {
  alive wineserver && $wine wineserver -k >/dev/null 2>&1 || true
  stop_pid wineserver
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
    "$self" stop
    mkdir -p "$state"
    fifo=$state/display.fifo
    rm -f "$fifo"
    mkfifo "$fifo"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    read -r number <"$fifo"
    rm -f "$fifo"
    echo ":$number" >"$state/display"
    server_start
    if $wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels >/dev/null 2>&1; then
      set_dpi 96  # whatever an interrupted run left
    fi
    parent=$PPID
    setsid "$self" watch "$parent" </dev/null >/dev/null 2>&1 &
    echo $! >"$state/watchdog.pid"
    echo "Wine session on display :$number for process $parent"
    ;;
  stop)
    [ -d "$state" ] || exit 0
    [ "$(cat "$state/watchdog.pid" 2>/dev/null)" = $$ ] || stop_pid watchdog KILL
    server_stop
    stop_pid xvfb
    rm -rf "$state"
    ;;
  watch)  # the watchdog
    while running "$2"; do sleep 0.5; done
    exec "$self" stop
    ;;
  at-dpi)
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

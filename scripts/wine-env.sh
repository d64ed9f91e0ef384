# Sourced by the scripts that run Windows programs: a Wine prefix inside the build folder that
# runs 64-bit and 32-bit programs, a persistent wineserver, and an X display of its own when
# asked for one. wine_stop ends what wine_start began, by process id.

QUORVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$QUORVEL_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINESERVER_PID XVFB_PID

# The toolchains and Wine for both architectures.
wine_deps() {
  "$QUORVEL_ROOT/scripts/deps.sh" wine wine64 wine32:i386 fonts-liberation "$@"
}
mingw_deps() {
  "$QUORVEL_ROOT/scripts/deps.sh" cmake make g++-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 "$@"
}

# A prefix made before Wine's 32-bit half was installed has no 32-bit system and can start no
# 32-bit program ("could not load kernel32.dll"): such a prefix is made anew.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/.quorvel-ready" ] && [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

# Usage: wine_start [--xvfb]
wine_start() {
  if [ "${1:-}" = "--xvfb" ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
  fi
  if ! wine_prefix_ready; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' \
      /d 'Liberation Serif' /f >/dev/null 2>&1
    wineserver -w
    if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "FAIL: Wine cannot run 32-bit programs here (is wine32:i386 installed?)" >&2
      return 1
    fi
    touch "$WINEPREFIX/.quorvel-ready"
  fi
  wineserver -f -p >/dev/null 2>&1 &
  WINESERVER_PID=$!
  # Back to 96 dpi, whatever an interrupted run left.
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
}

wine_stop() {
  if [ -n "${WINESERVER_PID:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$WINESERVER_PID" 2>/dev/null || true
    wait "$WINESERVER_PID" 2>/dev/null || true
    unset WINESERVER_PID
  fi
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    unset XVFB_PID
  fi
}

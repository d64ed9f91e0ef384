# Sourced by the scripts that run Windows programs: a Wine prefix inside the build folder that
# runs 64-bit and, where this machine can, 32-bit programs, a persistent wineserver, and an X
# display of its own when asked for one. wine_stop ends what wine_start began, by process id.

QUORVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$QUORVEL_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINESERVER_PID XVFB_PID
# A script stopped by a signal still runs its EXIT trap, which stops what it started.
trap 'exit 130' INT
trap 'exit 143' TERM

# How this machine executes 32-bit x86 code, asked once per run and before Wine's 32-bit half
# is installed. Some kernels, virtual machines and sandboxes refuse it ("Exec format error",
# 126); there Debian's qemu user-mode emulator is registered to run it. A three-instruction
# program tells, with binutils alone. Then Wine's 32-bit half is installed, if it can be.
# QUORVEL_NO_32BIT=1 answers no on any machine, and sets nothing up. The scripts this one starts
# inherit the answer: QUORVEL_32BIT is yes (32-bit programs run under Wine) or "no: why",
# QUORVEL_32BIT_EMULATOR the emulator that runs 32-bit programs, empty when they run natively.
probe_32bit() {
  mkdir -p "$QUORVEL_ROOT/build/probe-32bit"
  (
    cd "$QUORVEL_ROOT/build/probe-32bit"
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >exit.s
    as --32 -o exit.o exit.s && ld -m elf_i386 -o exit exit.o && ./exit
  ) >/dev/null 2>&1
}
binfmt=/proc/sys/fs/binfmt_misc
# The enabled binfmt_misc handler for 32-bit x86 ELF programs, if any: the kernel hands them to
# it before it would run them itself.
i386_handler() {
  local entry
  for entry in "$binfmt"/*; do
    if grep -qx enabled "$entry" 2>/dev/null &&
      grep -qx 'magic 7f454c4601010100000000000000000002000300' "$entry"; then
      echo "$entry"
      return 0
    fi
  done
}
qemu_major() {
  local major
  major=$(/usr/bin/qemu-i386 --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\).*/\1/p')
  echo "${major:-0}"
}
# Adds bookworm-backports to apt's sources, in a file of its own, where it is missing, from the
# mirror the machine's own sources name: a machine fetches from the mirror its owner chose.
with_bookworm_backports() {
  grep -rqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
  local mirror
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
  [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
  if [ -z "$mirror" ]; then
    echo "apt's sources name no Debian mirror to take bookworm-backports from"
    return 1
  fi
  echo "deb $mirror bookworm-backports main" >/etc/apt/sources.list.d/bookworm-backports.list
}
# Registers qemu 10 for 32-bit x86 ELF programs, or says which step failed. It changes the
# running kernel's settings until the next reboot or until binfmt_misc is unmounted;
# "echo -1 > $binfmt/qemu-i386" undoes it.
# Flag F opens the emulator now, so that it serves inside chroots too. qemu 7.2, Debian 12's
# own, takes about a minute to start each of Wine's 32-bit processes: there it comes from
# bookworm-backports.
emulate_32bit() {
  [ "$(id -u)" -eq 0 ] || { echo "not root, so no emulator can be registered"; return 1; }
  if [ ! -e "$binfmt/register" ] &&
    ! mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
    echo "binfmt_misc cannot be mounted on $binfmt"
    return 1
  fi
  [ -w "$binfmt/register" ] || { echo "$binfmt/register is read-only"; return 1; }
  if [ "$(qemu_major)" -lt 10 ]; then
    local package=qemu-user
    if [ "$(. /etc/os-release && echo "$VERSION_CODENAME")" = bookworm ]; then
      package=qemu-user/bookworm-backports
      with_bookworm_backports || return 1
    fi
    local why
    why=$(install_or_say_why --no-recommends "$package") ||
      { echo "Debian's $package could not be installed: $why"; return 1; }
  fi
  if [ -z "$(i386_handler)" ]; then
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:FPC" >"$binfmt/register" 2>/dev/null ||
      { echo "qemu-i386 could not be registered"; return 1; }
  fi
  probe_32bit || { echo "32-bit code does not run even through $(i386_handler)"; return 1; }
}
# Installs the packages named as scripts/deps.sh does, showing its progress on stderr; where
# they cannot be installed, prints apt's reason in one line.
install_or_say_why() {
  local why
  why=$("$QUORVEL_ROOT/scripts/deps.sh" "$@" 3>&1 1>&2 2>&3) && return 0
  sed -n 's/^  //p' <<<"$why" | paste -sd' '
  return 1
}
if [ -z "${QUORVEL_32BIT:-}" ]; then
  export QUORVEL_RUN=${QUORVEL_RUN:-$$.$(date +%s)}  # one run of the scripts, for deps.sh
  QUORVEL_32BIT_EMULATOR=""
  how=""
  if [ "${QUORVEL_NO_32BIT:-0}" = 1 ]; then
    QUORVEL_32BIT="no: QUORVEL_NO_32BIT=1 takes this machine as one that cannot execute 32-bit code"
  else
    "$QUORVEL_ROOT/scripts/deps.sh" binutils
    if probe_32bit || why=$(emulate_32bit); then
      how=natively
      handler=$(i386_handler)
      if [ -n "$handler" ]; then
        QUORVEL_32BIT_EMULATOR=$(sed -n 's/^interpreter //p' "$handler")
        how="through an emulator, $("$QUORVEL_32BIT_EMULATOR" --version | head -n 1)"
      fi
      # A mirror out of step can leave Wine's 32-bit half uninstallable for a day; then the
      # 32-bit programs are skipped like on a machine that cannot run them.
      if why=$(install_or_say_why wine32:i386); then
        QUORVEL_32BIT=yes
      else
        QUORVEL_32BIT="no: Wine's 32-bit half (wine32:i386) could not be installed: $why"
      fi
    else
      QUORVEL_32BIT="no: this machine cannot execute 32-bit code, and $why"
    fi
    unset handler why
  fi
  export QUORVEL_32BIT QUORVEL_32BIT_EMULATOR
  if [ "$QUORVEL_32BIT" = yes ]; then
    echo "32-bit code on this machine: $how"
  elif [ -n "$how" ]; then
    echo "32-bit code on this machine: $how, but no 32-bit program runs under Wine here:" \
      "${QUORVEL_32BIT#no: }"
  else
    echo "32-bit code on this machine: none (${QUORVEL_32BIT#no: })"
  fi
  unset how
fi
runs_32bit() { [ "$QUORVEL_32BIT" = yes ]; }
# Why no 32-bit program runs here, for the scripts' messages.
without_32bit() { echo "${QUORVEL_32BIT#no: }"; }

# Whether the programs of <preset> can run here: the 32-bit ones only where 32-bit code runs.
preset_runs_here() { [ "$1" != windows-x86 ] || runs_32bit; }
# Stops a script that was asked to start the 32-bit exe where it cannot run, before it builds.
need_preset_here() {
  preset_runs_here "$1" && return 0
  echo "FAIL: $(without_32bit), so the 32-bit exe cannot run here" >&2
  exit 1
}

# Wine and its fonts; its 32-bit half came with the answer on 32-bit code.
wine_deps() {
  "$QUORVEL_ROOT/scripts/deps.sh" wine wine64 fonts-wine fonts-liberation "$@"
}
# The cross build configures its tests too, from Debian's GoogleTest sources.
mingw_deps() {
  "$QUORVEL_ROOT/scripts/deps.sh" cmake make binutils googletest g++-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 "$@"
}

# A prefix made before Wine's 32-bit half was installed has no 32-bit system and can start no
# 32-bit program ("could not load kernel32.dll"): where 32-bit programs run, it is made anew.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/.quorvel-ready" ] && [ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] &&
    { ! runs_32bit || [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }
}

# Debian's wine and wine-stable wrappers, which wineboot, msiexec and the other tools go through,
# start the 32-bit loader whenever Wine's 32-bit half is installed, which fails where 32-bit code
# cannot run and is emulated where an emulator runs it. Both names lead to the 64-bit loader
# instead; it starts the 32-bit one for 32-bit programs alone (WINELOADER less its "64").
wine_loader() {
  export WINELOADER=/usr/lib/wine/wine64
  local shims=$QUORVEL_ROOT/build/wine64-loader name
  mkdir -p "$shims"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec %s "$@"\n' "$WINELOADER" >"$shims/$name"
    chmod +x "$shims/$name"
  done
  case ":$PATH:" in
    *":$shims:"*) ;;
    *) export PATH="$shims:$PATH" ;;
  esac
}

# Usage: wine_start [--xvfb]
wine_start() {
  wine_loader
  if [ "${1:-}" = "--xvfb" ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # In a session of its own, as the wineserver: a signal to the script's process group
    # reaches the script, whose EXIT trap stops the server first and the display after, so no
    # Wine process is left waiting for either.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
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
    # Wine leaves the prefix's Fonts folder empty; without its Marlett the caption buttons
    # come out as the letters "0 1 r", and without Tahoma the caption in another face.
    cp /usr/share/wine/fonts/{marlett,tahoma,tahomabd}.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -w
    if runs_32bit && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "FAIL: Wine cannot run 32-bit programs here (is wine32:i386 installed?)" >&2
      return 1
    fi
    touch "$WINEPREFIX/.quorvel-ready"
  fi
  wine_server_start
  # Back to 96 dpi, whatever an interrupted run left.
  if wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels >/dev/null 2>&1; then
    wine_dpi 96
  fi
}

# Sets the system DPI that Wine reports (96, its default, deletes the value). Wine 10 reads it
# only when its server and desktop start, so the wineserver is started again.
wine_dpi() {
  if [ "$1" = 96 ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  fi
  wine_server_stop
  wine_server_start
}

wine_server_start() {
  setsid wineserver -f -p >/dev/null 2>&1 &
  WINESERVER_PID=$!
}
wine_server_stop() {
  if [ -n "${WINESERVER_PID:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$WINESERVER_PID" 2>/dev/null || true
    wait "$WINESERVER_PID" 2>/dev/null || true
    unset WINESERVER_PID
  fi
}

wine_stop() {
  wine_server_stop
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    unset XVFB_PID
  fi
}

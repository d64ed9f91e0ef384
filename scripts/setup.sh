#!/usr/bin/env bash
# Sets this machine up for building, running and testing Quorvel, and is the only script that
# changes it: it installs the Debian packages that are missing, asks how the machine runs 32-bit
# x86 code, and where the kernel cannot, registers Debian's qemu user-mode emulator for it; then
# it installs Wine's 32-bit half if it can and makes the Wine prefix. Its answer goes to
# build/setup.env, which every other script and the tests read. Safe to run again: with nothing
# missing it runs no apt.
# QUORVEL_NO_32BIT=1 leaves the 32-bit question alone (no emulator, no Wine 32-bit half, the
# answer of an earlier run kept); every script then takes the machine as one that cannot execute
# 32-bit code (scripts/machine.sh).
#
# What it may change, and how to undo it:
# - packages (apt-get remove), the i386 architecture (dpkg --remove-architecture i386, once no
#   i386 package is left; taken away again here when nothing of it could be installed), and on
#   Debian 12 without 32-bit code /etc/apt/sources.list.d/bookworm-backports.list for qemu 10;
# - a binfmt_misc handler for 32-bit x86 programs, until reboot or
#   "echo -1 > /proc/sys/fs/binfmt_misc/qemu-i386";
# - build/: the Wine prefix, the loader shims, setup.env (rm -rf build).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The LLVM of Debian's own clang, whose WebAssembly libraries build the page's core.
case "$(. /etc/os-release && echo "${VERSION_ID:-}")" in
  12) llvm=14 ;;
  *) llvm=19 ;;
esac
# Every package of every road: build, window tests, the page and its tests, release, fuzzing,
# screenshots.
packages=(cmake make g++ binutils googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix
  binutils-mingw-w64-i686 wine wine64 fonts-wine fonts-liberation xvfb xauth
  zip unzip wixl msitools faketime python3 python3-yaml openssl gnupg osslsigncode
  chromium chromium-driver firefox-esr webkit2gtk-driver
  clang libclang-rt-dev x11-apps imagemagick xdotool
  llvm lld wasi-libc "libc++-$llvm-dev-wasm32" "libc++abi-$llvm-dev-wasm32" "libclang-rt-$llvm-dev-wasm32"
  python3-selenium python3-jsonschema)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
fetched=$(mktemp)  # not empty once apt's lists were fetched for the sources as they are now
trap 'rm -f "$log" "$fetched"' EXIT

# The packages named that are not installed; one from a suite (qemu-user/bookworm-backports)
# always, as its version is what counts.
missing() {
  local pkg
  for pkg in "$@"; do
    [[ $pkg != */* ]] && dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" ||
      echo "$pkg"
  done
}
# apt retries what it fetches itself; a package list that still cannot be fetched (a mirror in
# mid-sync serves an index of the wrong size) is left behind: the packages come from the lists
# apt has.
apt_get() { $sudo apt-get -q -o Acquire::Retries=3 "$@" >"$log" 2>&1; }
# Installs the packages named that are missing; where they cannot be, prints apt's own errors on
# stdout in one line and fails.
install() {
  local options=() want
  if [ "$1" = --no-recommends ]; then
    options=(--no-install-recommends)
    shift
  fi
  mapfile -t want < <(missing "$@")
  [ ${#want[@]} -gt 0 ] || return 0
  echo "Installing: ${want[*]}" >&2
  if [ ! -s "$fetched" ]; then
    apt_get update || echo "apt-get update failed; the packages come from the lists apt has:" \
      "$(grep '^E: ' "$log" | paste -sd' ')" >&2
    echo yes >"$fetched"
  fi
  apt_get install -y "${options[@]}" "${want[@]}" && return 0
  grep '^E: ' "$log" | paste -sd' '
  return 1
}

# Debian's npm, unless another Node.js that brings its own (and conflicts with Debian's) is here.
command -v npm >/dev/null || packages+=(npm)
if ! why=$(install "${packages[@]}"); then
  echo "FAIL: apt could not install the packages: $why" >&2
  exit 1
fi

# What the page's tests take from npm, where Debian has nothing (axe-core), pinned by the lock.
# Where the registry cannot be reached the audits that need it are skipped, saying why
# (build/npm/failed.txt), as the 32-bit tests are where Wine's 32-bit half cannot be installed.
npm_dir=build/npm
if ! cmp -s tests/web/package-lock.json "$npm_dir/package-lock.json"; then
  echo "Installing from npm: what tests/web/package-lock.json pins" >&2
  rm -rf "$npm_dir"
  mkdir -p "$npm_dir"
  cp tests/web/package.json tests/web/package-lock.json "$npm_dir/"
  # The lock copied stands for what is installed: it goes again if npm fails, to be tried anew.
  if ! (cd "$npm_dir" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error) >"$log" 2>&1; then
    rm -f "$npm_dir/package-lock.json"
    why=$(grep -m 2 'ERR\|error' "$log" | paste -sd' ') || why=$(tail -n 1 "$log")
    echo "$why" >"$npm_dir/failed.txt"
    echo "npm could not install what tests/web/package-lock.json pins, so the audits that need" \
      "it will be skipped: $why" >&2
  fi
fi

# Whether the kernel runs 32-bit x86 code: a three-instruction program tells, with binutils alone.
probe_32bit() {
  mkdir -p build/probe-32bit
  (
    cd build/probe-32bit
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >exit.s
    as --32 -o exit.o exit.s && ld -m elf_i386 -o exit exit.o && ./exit
  ) >/dev/null 2>&1
}
binfmt=/proc/sys/fs/binfmt_misc
# The enabled binfmt_misc handler for 32-bit x86 ELF programs, if any.
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
# bookworm-backports from the mirror the machine's own sources name, and from no other.
with_bookworm_backports() {
  grep -rqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
  local mirror
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
  [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
  [ -n "$mirror" ] || { echo "apt's sources name no Debian mirror to take bookworm-backports from"; return 1; }
  echo "deb $mirror bookworm-backports main" >/etc/apt/sources.list.d/bookworm-backports.list
  : >"$fetched"
}
# Registers qemu 10 for 32-bit x86 ELF programs, or says which step failed. Flag F opens the
# emulator now, so that it serves inside chroots too. qemu 7.2, Debian 12's own, takes about a
# minute to start each of Wine's 32-bit processes: there it comes from bookworm-backports.
emulate_32bit() {
  [ "$(id -u)" -eq 0 ] || { echo "not root, so no emulator can be registered"; return 1; }
  if [ ! -e "$binfmt/register" ] && ! mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
    echo "binfmt_misc cannot be mounted on $binfmt"
    return 1
  fi
  [ -w "$binfmt/register" ] || { echo "$binfmt/register is read-only"; return 1; }
  local major
  major=$(/usr/bin/qemu-i386 --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\).*/\1/p')
  if [ "${major:-0}" -lt 10 ]; then
    local package=qemu-user why
    if [ "$(. /etc/os-release && echo "$VERSION_CODENAME")" = bookworm ]; then
      package=qemu-user/bookworm-backports
      with_bookworm_backports || return 1
    fi
    why=$(install --no-recommends "$package") ||
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
# Wine's 32-bit half: the i386 architecture first, taken away again if nothing of it installs.
install_wine32() {
  local added=0 why
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    added=1
    : >"$fetched"
  fi
  why=$(install wine32:i386) && return 0
  if [ "$added" = 1 ] && ! dpkg-query -W -f='${binary:Package}\n' | grep -q ':i386$'; then
    $sudo dpkg --remove-architecture i386
  fi
  echo "$why"
  return 1
}

emulator=""
how=""
if [ "${QUORVEL_NO_32BIT:-0}" = 1 ]; then
  runs="no: QUORVEL_NO_32BIT=1 takes this machine as one that cannot execute 32-bit code"
  [ -f build/setup.env ] && runs="" || true
elif probe_32bit || why=$(emulate_32bit); then
  how=natively
  if handler=$(i386_handler) && [ -n "$handler" ]; then
    emulator=$(sed -n 's/^interpreter //p' "$handler")
    # In a chroot or container served by the host's handler (flag F) the path is the host's.
    named=$("$emulator" --version 2>/dev/null | head -n 1) || named="$emulator, from outside this system"
    how="through an emulator, $named"
  fi
  # A mirror out of step can leave Wine's 32-bit half uninstallable for a day; then the 32-bit
  # programs are skipped like on a machine that cannot run them.
  if why=$(install_wine32); then
    runs=yes
  else
    runs="no: Wine's 32-bit half (wine32:i386) could not be installed: $why"
  fi
else
  runs="no: this machine cannot execute 32-bit code, and $why"
fi
if [ -z "$runs" ]; then
  echo "32-bit code on this machine: none (QUORVEL_NO_32BIT=1)"
elif [ "$runs" = yes ]; then
  echo "32-bit code on this machine: $how"
elif [ -n "$how" ]; then
  echo "32-bit code on this machine: $how, but no 32-bit program runs under Wine here: ${runs#no: }"
else
  echo "32-bit code on this machine: none (${runs#no: })"
fi

# Debian's wine wrappers start the 32-bit loader whenever Wine's 32-bit half is installed, which
# fails where 32-bit code cannot run: these shims lead to the 64-bit loader, which starts the
# 32-bit one for 32-bit programs alone.
mkdir -p build/wine64-loader
for name in wine wine-stable; do
  [ -x "build/wine64-loader/$name" ] && continue
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"build/wine64-loader/$name"
  chmod +x "build/wine64-loader/$name"
done
if [ -n "$runs" ]; then
  printf 'QUORVEL_32BIT=%q\nQUORVEL_32BIT_EMULATOR=%q\n' "$runs" "$emulator" >build/setup.env
fi
runs=$(source scripts/machine.sh && echo "$QUORVEL_32BIT")

# The prefix, made anew where one made before Wine's 32-bit half cannot start a 32-bit program.
prefix=$root/build/wineprefix
if [ ! -f "$prefix/.quorvel-ready" ] || { [ "$runs" = yes ] &&
  [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; }; then
  echo "Making the Wine prefix $prefix"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  scripts/wine.sh wineboot -i >/dev/null 2>&1
  scripts/wine.sh reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' \
    /d 'Liberation Serif' /f >/dev/null 2>&1
  # Wine leaves the prefix's Fonts folder empty; without its Marlett the caption buttons come
  # out as the letters "0 1 r", and without Tahoma the caption in another face.
  cp /usr/share/wine/fonts/{marlett,tahoma,tahomabd}.ttf "$prefix/drive_c/windows/Fonts/"
  scripts/wine.sh wineserver -w
  if [ "$runs" = yes ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "FAIL: Wine cannot run 32-bit programs here (is wine32:i386 installed?)" >&2
    exit 1
  fi
  touch "$prefix/.quorvel-ready"
fi

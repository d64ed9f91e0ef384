#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet. A name
# such as wine32:i386 brings in the i386 architecture first; one such as
# qemu-user/bookworm-backports is installed from that suite, always. --no-recommends leaves out
# what they recommend.
# Usage: scripts/deps.sh [--no-recommends] <package>...
set -euo pipefail
options=()
if [ "${1:-}" = --no-recommends ]; then
  options=(--no-install-recommends)
  shift
fi

missing=()
for pkg in "$@"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet; with none
# missing it runs no apt at all. A name such as wine32:i386 brings in the i386 architecture
# first, and takes it away again if nothing of it could be installed; one such as
# qemu-user/bookworm-backports is installed from that suite, always. --no-recommends leaves out
# what they recommend.
# A package list that cannot be fetched (a mirror in mid-sync serves an index of the wrong size)
# is asked for three times, 10 s apart, then left behind with one line naming it: the packages
# come from the lists apt has. Only a package that cannot be installed fails, with apt's reason.
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
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# The first E: line of apt's output in the log, without the guesses and addresses after it.
apt_error() {
  grep -m 1 '^E: ' "$log" | sed -E 's/ +Mirror sync in progress\?.*//; s/ *\[IP: [^]]*\]//'
}

# The lists are fetched once a run (QUORVEL_RUN, from scripts/wine-env.sh) for each set of
# sources, and again for an architecture just added, so that a failing source costs its retries
# once, not at every install; build/apt-lists.txt keeps what was fetched.
fetched=$(dirname "$0")/../build/apt-lists.txt
lists_fetched() {
  [ -n "${QUORVEL_RUN:-}" ] && grep -qxF "$QUORVEL_RUN $(sources)" "$fetched" 2>/dev/null
}
sources() { cat /etc/apt/sources.list /etc/apt/sources.list.d/* 2>/dev/null | md5sum | cut -c1-32; }
fetch_lists() {
  local try
  for try in 1 2 3; do
    if $sudo apt-get update -qq >"$log" 2>&1; then
      break
    elif [ "$try" -lt 3 ]; then
      echo "apt-get update failed, try $try of 3, again in 10 s: $(apt_error)"
      sleep 10
    else
      echo "apt-get update failed 3 times; the packages come from the lists apt has:" \
        "$(apt_error)"
    fi
  done
  if [ -n "${QUORVEL_RUN:-}" ]; then  # this run's lines only
    mkdir -p "$(dirname "$fetched")"
    { grep -F "$QUORVEL_RUN " "$fetched" 2>/dev/null || true; echo "$QUORVEL_RUN $(sources)"; } \
      >"$fetched.new"
    mv "$fetched.new" "$fetched"
  fi
}

added_i386=0
if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_i386=1
fi
[ "$added_i386" = 0 ] && lists_fetched || fetch_lists
if ! $sudo apt-get install -y -q "${options[@]}" "${missing[@]}" >"$log" 2>&1; then
  if [ "$added_i386" = 1 ] && ! dpkg-query -W -f='${binary:Package}\n' | grep -q ':i386$'; then
    $sudo dpkg --remove-architecture i386
  fi
  # apt's reason: its error, and the first of the unmet dependencies that stood in the way.
  unmet=$(sed -n '/^The following packages have unmet dependencies:/,/^E: /{/^ [^ ].* : /p}' "$log")
  echo "FAIL: apt could not install ${missing[*]}" >&2
  echo "  $(apt_error)" >&2
  if [ -n "$unmet" ]; then
    echo "  $(head -n 1 <<<"$unmet" | sed 's/^ *//') ($(wc -l <<<"$unmet") unmet in all)" >&2
  fi
  exit 1
fi

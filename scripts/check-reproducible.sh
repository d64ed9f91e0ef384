#!/usr/bin/env bash
# Builds the exe of a build folder a second time, from a copy of the sources in another folder,
# and checks that it comes out byte for byte the same: no time stamp and no trace of the folder
# it was built in.
# Usage: scripts/check-reproducible.sh build/windows | build/windows-x86
set -euo pipefail
build=$(realpath "$1")
preset=$(basename "$build")
cd "$(dirname "$0")/.."

copy=$(mktemp -d /tmp/quorvel-reproduce.XXXXXX)
trap 'rm -rf "$copy"' EXIT
git ls-files -z --cached --others --exclude-standard |
  xargs -0 tar --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$copy"
(cd "$copy" && cmake --preset "$preset" >/dev/null &&
  cmake --build --preset "$preset" -j "$(nproc)" --target Quorvel >/dev/null)
if ! cmp "$build/Quorvel.exe" "$copy/build/$preset/Quorvel.exe"; then
  echo "FAIL: build/$preset/Quorvel.exe differs when built in $copy"
  exit 1
fi
echo "ok: build/$preset/Quorvel.exe built again in $copy is the same, byte for byte"

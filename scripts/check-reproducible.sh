#!/usr/bin/env bash
# Builds both exes a second time from a copy of the sources in another folder and checks that
# they come out byte for byte as build/windows and build/windows-x86 have them: no time stamp
# and no trace of the folder they were built in.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=(windows windows-x86)

copy=$(mktemp -d /tmp/quorvel-reproduce.XXXXXX)
trap 'rm -rf "$copy"' EXIT
git ls-files -z --cached --others --exclude-standard |
  xargs -0 tar --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$copy"

fail=0
for preset in "${presets[@]}"; do
  (cd "$copy" && cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" -j "$(nproc)" --target Quorvel >/dev/null)
  if cmp -s "build/$preset/Quorvel.exe" "$copy/build/$preset/Quorvel.exe"; then
    echo "ok: build/$preset/Quorvel.exe built again in $copy is the same, byte for byte"
  else
    echo "FAIL: build/$preset/Quorvel.exe differs when built in $copy"
    cmp -l "build/$preset/Quorvel.exe" "$copy/build/$preset/Quorvel.exe" | head -n 5 || true
    fail=1
  fi
done
exit $fail

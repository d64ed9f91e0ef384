#!/usr/bin/env bash
# Builds the Windows program for each preset named (default: windows and windows-x86, the 64-bit
# and the 32-bit one) and tests it alike under Wine on an X display of its own: the core's and
# the window's tests, the window once more at 144 dpi, then the exe's own checks.
# Each run's CTest log is build/ctest-<preset>.log (and -dpi.log), for the closing count.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(windows windows-x86)

source scripts/wine-env.sh
wine_deps xvfb xauth
mingw_deps
jobs=$(nproc)
for preset in "${presets[@]}"; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

trap wine_stop EXIT
wine_start --xvfb
for preset in "${presets[@]}"; do
  echo "== test $preset (under Wine)"
  ctest --preset "$preset" -j "$jobs" | tee "build/ctest-$preset.log"
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
for preset in "${presets[@]}"; do
  echo "== test $preset at 144 dpi"
  ctest --preset "$preset" -R OpensScaledAtTheSystemDpi --no-tests=error |
    tee "build/ctest-$preset-dpi.log"
  if grep -q "Skipped" "build/ctest-$preset-dpi.log"; then
    echo "FAIL: the system did not go to 144 dpi"
    exit 1
  fi
done
wine_stop

for preset in "${presets[@]}"; do
  echo "== check build/$preset/Quorvel.exe"
  scripts/check-exe.sh "build/$preset/Quorvel.exe"
done

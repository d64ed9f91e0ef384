#!/usr/bin/env bash
# Builds the Windows program for each preset named (default: windows and windows-x86, the 64-bit
# and the 32-bit one) and tests it alike under Wine on an X display of its own: the core's and
# the window's tests, the window once more at 144 dpi, then the exe's own checks.
# Each run's CTest log is build/ctest-<preset>.log (and -dpi.log), for the closing count. On a
# machine that cannot execute 32-bit code the 32-bit exe is built and checked but its tests do
# not run: build/not-run-windows-x86.txt (and -dpi.txt) names them instead, by the 64-bit list,
# which comes from the same sources. Each tested build gets tested.txt: how its programs ran,
# "natively" or the emulator's path, for the release's build record.
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
  rm -f "build/ctest-$preset.log" "build/ctest-$preset-dpi.log" build/not-run-"$preset"*.txt \
    "build/$preset/tested.txt"
done

# Names the tests of <preset> that cannot run here, <ctest -R pattern> narrowing them, into <file>.
not_run() {
  echo "== not run: the tests of $1${2:+ matching $2}: $(without_32bit)"
  ctest --test-dir build/windows -N ${2:+-R "$2"} | sed -n 's/^ *Test *#[0-9]*: //p' >"$3"
  if [ ! -s "$3" ]; then
    echo "FAIL: no list of the tests not run; test the 64-bit preset, windows, beside $1"
    exit 1
  fi
}

trap wine_stop EXIT
wine_start --xvfb
for preset in "${presets[@]}"; do
  if ! preset_runs_here "$preset"; then
    not_run "$preset" "" "build/not-run-$preset.txt"
    continue
  fi
  echo "== test $preset (under Wine)"
  ctest --preset "$preset" -j "$jobs" | tee "build/ctest-$preset.log"
done
wine_dpi 144
for preset in "${presets[@]}"; do
  if ! preset_runs_here "$preset"; then
    not_run "$preset" OpensScaledAtTheSystemDpi "build/not-run-$preset-dpi.txt"
    continue
  fi
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
  if preset_runs_here "$preset"; then
    ran=natively
    [ "$preset" != windows-x86 ] || ran=${QUORVEL_32BIT_EMULATOR:-natively}
    echo "$ran" >"build/$preset/tested.txt"
  fi
done

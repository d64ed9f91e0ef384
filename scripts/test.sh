#!/usr/bin/env bash
# Builds and runs every test: the core natively, again with ASan and UBSan, then the program
# and all its tests cross-built for Windows and run under Wine on an X display of their own;
# last the exe's headers are checked and the core is fuzzed for a while (FUZZ_SECONDS, 60).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake make g++ googletest libgtest-dev libbenchmark-dev \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-liberation xvfb xauth

jobs=$(nproc)
for preset in native asan windows; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

# Each run's counts are summed into one closing line.
run_tests() {
  ctest --preset "$1" -j "$jobs" | tee "build/ctest-$1.log"
}

for preset in native asan; do
  echo "== test $preset"
  run_tests "$preset"
done

echo "== test windows (under Wine)"
source scripts/wine-env.sh
trap wine_stop EXIT
wine_start --xvfb
run_tests windows
echo "== test windows at 144 dpi"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
ctest --preset windows -R OpensScaledAtTheSystemDpi --no-tests=error | tee build/ctest-dpi.log
if grep -q "Skipped" build/ctest-dpi.log; then
  echo "FAIL: the system did not go to 144 dpi"
  exit 1
fi
wine_stop

echo "== check the program"
scripts/check-exe.sh build/windows/Quorvel.exe

echo "== fuzz the core"
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

logs=(build/ctest-{native,asan,windows,dpi}.log)
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "${logs[@]}" | awk '{ s += $1 } END { print s }')
skipped=$(cat "${logs[@]}" | grep -c '^[[:space:]]*[0-9]* - .*(Skipped)' || true)
echo "tests: $((total - skipped)) passed, 0 failed, $skipped skipped"

#!/usr/bin/env bash
# Builds and runs every test: the core natively, again with ASan and UBSan, then the program
# and all its tests cross-built for Windows and run under Wine on an X display of their own.
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

for preset in native asan; do
  echo "== test $preset"
  ctest --preset "$preset" -j "$jobs"
done

echo "== test windows (under Wine)"
source scripts/wine-env.sh
trap wine_stop EXIT
wine_start --xvfb
ctest --preset windows -j "$jobs"
wine_stop

echo "== check the program"
scripts/check-exe.sh build/windows/Quorvel.exe

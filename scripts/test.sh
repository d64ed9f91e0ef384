#!/usr/bin/env bash
# Builds and runs every test: the core natively, then again with ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake make g++ googletest libgtest-dev libbenchmark-dev

jobs=$(nproc)
for preset in native asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
  ctest --preset "$preset" -j "$jobs"
done

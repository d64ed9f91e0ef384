#!/usr/bin/env bash
# Builds and runs every test: the core natively, again with ASan and UBSan; the program for
# 64-bit and 32-bit Windows with all its tests under Wine and its exe checks; its release
# (notices, zips, MSIs installed under Wine, signatures with throwaway keys); a second build of
# both exes elsewhere that must give the same bytes; last the core is fuzzed for a while
# (FUZZ_SECONDS, 60). Where the kernel runs no 32-bit code, qemu's user-mode emulator runs the
# 32-bit programs; where that cannot be set up either (or with QUORVEL_NO_32BIT=1) whatever would
# start a 32-bit program is skipped and counted so.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the tree holds besides the build's and the release's folders, ignored files included:
# the tests must leave it as they found it.
tree() { git status --porcelain --ignored -- . ':!build' ':!dist'; }
tree_before=$(tree)

source scripts/wine-env.sh  # asks once how this machine runs 32-bit code
scripts/deps.sh cmake make g++ googletest libgtest-dev libbenchmark-dev

jobs=$(nproc)
for preset in native asan; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
  echo "== test $preset"
  ctest --preset "$preset" -j "$jobs" | tee "build/ctest-$preset.log"
done

scripts/test-windows.sh windows windows-x86

echo "== the release: notices, packages, signatures, installers"
scripts/test-release.sh

echo "== build both exes again elsewhere"
scripts/check-reproducible.sh

echo "== fuzz the core"
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

left=$(comm -13 <(sort <<<"$tree_before") <(tree | sort))
if [ -n "$left" ]; then
  echo "FAIL: the tests left in the tree: $(paste -sd" " <<<"$left")"
  exit 1
fi

# One closing count of every CTest run above; the tests that could not run count as skipped.
logs=()
for log in build/ctest-{native,asan,windows,windows-dpi,windows-x86,windows-x86-dpi}.log; do
  [ ! -f "$log" ] || logs+=("$log")
done
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "${logs[@]}" | awk '{ s += $1 } END { print s }')
skipped=$(cat "${logs[@]}" | grep -c '^[[:space:]]*[0-9]* - .*(Skipped)' || true)
not_run=$(find build -maxdepth 1 -name 'not-run-*.txt' -exec cat {} + | wc -l)
if [ "$not_run" -gt 0 ]; then
  echo "skipped, not run: $not_run tests of the 32-bit build (build/not-run-*.txt) and the" \
    "start of the installed 32-bit exe: $(without_32bit)"
fi
echo "tests: $((total - skipped)) passed, 0 failed, $((skipped + not_run)) skipped;" \
  "$(cat build/release-test.log)"

#!/usr/bin/env bash
# Sets the checkout up (scripts/setup.sh), then runs every test, all of them CTest's: the core
# natively (and fuzzed for FUZZ_SECONDS, 60) and with ASan and UBSan; the page, with the core as
# WebAssembly, in Chromium, Firefox and WebKit; the program for 32-bit and 64-bit Windows with
# its window tests under Wine, its exe checks and, in the 64-bit build, its release. The closing
# count comes from CTest's own JUnit files. Last, the tests must have left the tree as they found it.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the tree holds besides the build's and the release's folders, ignored files included.
tree() { git status --porcelain --ignored -- . ':!build' ':!dist'; }
tree_before=$(tree)

presets=(native asan web windows-x86 windows)
# The closing count, however the run ends.
count() { scripts/test-count.sh build "${presets[@]}"; }
for preset in "${presets[@]}"; do rm -f "build/$preset/tests.xml"; done
trap count EXIT

scripts/setup.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
status=0
for preset in "${presets[@]}"; do
  echo "== $preset"
  # The build's own lines are left out; CTest's stay.
  cmake --workflow --preset "$preset" 2>&1 |
    grep --line-buffered -vE '^(-- |\[ *[0-9]+%\]|Scanning |Consolidate |Executing workflow|$)' ||
    status=1
done

left=$(comm -13 <(sort <<<"$tree_before") <(tree | sort))
if [ -n "$left" ]; then
  echo "FAIL: the tests left in the tree: $(paste -sd" " <<<"$left")"
  status=1
fi
exit $status

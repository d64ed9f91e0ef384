#!/usr/bin/env bash
# Sets the checkout up (scripts/setup.sh), then runs every test, all of them CTest's: the core
# natively (and fuzzed for FUZZ_SECONDS, 60) and with ASan and UBSan; the page in Chromium, with
# the core as WebAssembly; the program for 32-bit and 64-bit Windows with its window tests under
# Wine, its exe checks and, in the 64-bit build, its release. The closing count comes from
# CTest's own JUnit files. Last, the tests must have left the tree as they found it.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the tree holds besides the build's and the release's folders, ignored files included.
tree() { git status --porcelain --ignored -- . ':!build' ':!dist'; }
tree_before=$(tree)

presets=(native asan web windows-x86 windows)
# One count of every CTest run, from the attributes of each JUnit file's test suite, printed
# however the run ends; a preset without its file (it did not configure, build or finish) counts
# as one failure, named.
count() {
  local preset missing=()
  for preset in "${presets[@]}"; do
    if [ -f "build/$preset/tests.xml" ]; then
      sed -n '1,/>/s/^\s*\(tests\|failures\|disabled\|skipped\)="\([0-9]*\)".*/\1 \2/p' \
        "build/$preset/tests.xml"
    else
      missing+=("$preset")
      echo "tests 1"
      echo "failures 1"
    fi
  done | awk '{ n[$1] += $2 } END { printf "tests: %d passed, %d failed, %d skipped\n",
    n["tests"] - n["failures"] - n["disabled"] - n["skipped"], n["failures"], n["disabled"] + n["skipped"] }'
  for preset in "${presets[@]}"; do
    [ -f "build/$preset/tests.xml" ] || echo "FAIL: the $preset preset gave no results"
  done
}
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

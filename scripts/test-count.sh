#!/usr/bin/env bash
# The closing line of the test command: one count of the CTest runs of the presets named, from
# the attributes of each JUnit file's test suite (build/<preset>/tests.xml). A preset without its
# file (it did not configure, build or finish) counts as one failure, and is named before it.
# Usage: scripts/test-count.sh <build folder> <preset>...
build=$1
shift
for preset in "$@"; do
  [ -f "$build/$preset/tests.xml" ] || echo "FAIL: the $preset preset gave no results"
done
for preset in "$@"; do
  if [ -f "$build/$preset/tests.xml" ]; then
    sed -n '1,/>/s/^\s*\(tests\|failures\|disabled\|skipped\)="\([0-9]*\)".*/\1 \2/p' \
      "$build/$preset/tests.xml"
  else
    printf 'tests 1\nfailures 1\n'
  fi
done | awk '{ n[$1] += $2 } END { printf "tests: %d passed, %d failed, %d skipped\n",
  n["tests"] - n["failures"] - n["disabled"] - n["skipped"], n["failures"], n["disabled"] + n["skipped"] }'

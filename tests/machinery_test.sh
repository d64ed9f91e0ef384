#!/usr/bin/env bash
# The test machinery's own checks, one CTest test each.
#   count: the closing line of the test command counts a preset that left no results as failed.
#   shared-session: another run that starts and stops the Wine session while this run's session
#   is live (another preset in another shell, say) leaves it running for this run.
# Usage: tests/machinery_test.sh count | shared-session
set -euo pipefail
cd "$(dirname "$0")/.."
fail() {
  echo "FAIL: $*"
  exit 1
}

case "$1" in
  count)
    build=$(mktemp -d)
    trap 'rm -rf "$build"' EXIT
    mkdir "$build/native"
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<testsuite name="Linux-c++"\n\ttests="20"\n\tfailures="2"\n\tdisabled="1"\n\tskipped="3"\n\thostname=""\n>\n</testsuite>\n' \
      >"$build/native/tests.xml"
    line=$(scripts/test-count.sh "$build" native windows)
    [ "$line" = "FAIL: the windows preset gave no results
tests: 14 passed, 3 failed, 4 skipped" ] || fail "the closing lines were: $line"
    ;;
  shared-session)
    state=build/wine-session
    # The session is its display; its wineserver is started again by a change of DPI.
    ours() { echo "$(cat "$state/display") $(cat "$state/xvfb.pid")"; }
    before=$(ours)
    other=$( (scripts/wine-session.sh start && scripts/wine.sh cmd /c echo another run &&
      scripts/wine-session.sh stop) 2>&1 | tr -d '\r') || fail "the other run failed: $other"
    grep -q "joined by process" <<<"$other" || fail "the other run did not join: $other"
    grep -q "^another run$" <<<"$other" || fail "the other run's program did not run: $other"
    [ -d "$state" ] && [ "$(ours)" = "$before" ] || fail "the other run's stop took our session"
    [ "$(scripts/wine.sh cmd /c echo ours | tr -d '\r')" = ours ] ||
      fail "no program runs in our session after the other run"
    ;;
  *)
    echo "usage: tests/machinery_test.sh count | shared-session" >&2
    exit 2
    ;;
esac
echo "ok: $1"

#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Wine's helper processes can keep a pipe open
# long after the program ended, so the output goes through a file.
out=$(mktemp)
wine "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc

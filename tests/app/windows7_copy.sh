#!/usr/bin/env bash
# Copies the program as it runs on a Windows 7 that lacks every function it looks up at run
# time: in the copy their names start with an X, so that each lookup fails as it does there.
# Usage: windows7_copy.sh <Quorvel.exe> <copy>
set -euo pipefail
cp "$1" "$2"
for name in SetDefaultDllDirectories GetDpiForWindow GetSystemMetricsForDpi \
  AdjustWindowRectExForDpi; do
  NAME=$name perl -0777 -i -pe \
    '$n = s/(?<![A-Za-z])\Q$ENV{NAME}\E\0/"X" . substr($ENV{NAME}, 1) . "\0"/ge;
     END { exit($n == 1 ? 0 : 1) }' "$2" ||
    { echo "FAIL: $1 does not name $name once"; rm -f "$2"; exit 1; }
done

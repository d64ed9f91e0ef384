#!/usr/bin/env bash
# A bounded libFuzzer run over the core (ASan and UBSan on); fails on any finding.
# Usage: scripts/fuzz.sh [seconds]   (default FUZZ_SECONDS, or 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-60}}

# Debian's default clang, whichever version the release has (14 on Debian 12, 19 on 13).
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

# New inputs go to a scratch corpus; the seeds in fuzz/corpus are only read.
mkdir -p build/fuzz/corpus build/fuzz/findings
build/fuzz/fuzz/cipher_fuzz -max_total_time="$seconds" -max_len=1400 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/findings/ build/fuzz/corpus fuzz/corpus 2>build/fuzz/fuzz.log || {
  tail -n 40 build/fuzz/fuzz.log
  echo "FAIL: the fuzzer found an input that breaks the core (see build/fuzz/findings/)"
  exit 1
}
grep -E "^(Done|stat::number_of_executed_units)" build/fuzz/fuzz.log || true
echo "fuzz: no finding in $seconds s"

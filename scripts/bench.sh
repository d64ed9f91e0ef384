#!/usr/bin/env bash
# Figures, not a test: the program against its plain twin (the same nine controls made one
# CreateWindowEx each, with the same manifest and flags), which tells the program's own cost
# from the platform's, and a bare window as the floor; the three alternated under Wine on an
# Xvfb display of this script's own, for the 64-bit and the 32-bit exe; the program once more
# on the Windows 7 road (tests/app/windows7_copy.sh), where it loads the DLLs it would take by
# name from System32 at start. Then the page in Chromium, Firefox and WebKit beside its static
# twin, and the core's
# microbenchmarks.
# Usage: scripts/bench.sh [rounds]   (default 9; medians are reported). It sets the checkout up
# first (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-9}

scripts/setup.sh
source scripts/machine.sh
presets=()
for row in "${QUORVEL_ARCHITECTURES[@]}"; do
  read_architecture "$row"
  presets+=("$preset")
done
if ! runs_32bit; then
  presets=(windows)
  echo "Only the 64-bit exe is measured: $(without_32bit)."
elif [ -n "$QUORVEL_32BIT_EMULATOR" ]; then
  presets=(windows)
  echo "Only the 64-bit exe is measured: 32-bit code runs here through $QUORVEL_32BIT_EMULATOR," \
    "and emulated times say nothing about Windows."
fi
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" \
    --target Quorvel windows7_exe twin_window bare_window launcher >/dev/null
done
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target cipher_bench >/dev/null
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)" >/dev/null

scripts/wine-session.sh start >/dev/null
trap 'scripts/wine-session.sh stop' EXIT
wine=$PWD/scripts/wine.sh
for preset in "${presets[@]}"; do
  out=build/$preset/bench
  mkdir -p "$out"
  rm -f "$out"/*.txt
  (
    cd "build/$preset"
    $wine launcher.exe twin_window.exe >/dev/null 2>&1 || true  # warms Wine's own processes up
    for round in $(seq "$rounds"); do
      $wine launcher.exe Quorvel.exe 100 1000 >"bench/quorvel-$round.txt" 2>&1
      $wine launcher.exe windows7/Quorvel.exe >"bench/windows7-$round.txt" 2>&1
      $wine launcher.exe twin_window.exe >"bench/twin-$round.txt" 2>&1
      $wine launcher.exe bare_window.exe >"bench/bare-$round.txt" 2>&1
    done
  )
done
scripts/wine-session.sh stop

median() {  # median of the figure named $3 over the files $1/bench/$2-*.txt
  cat "build/$1/bench/$2"-*.txt | tr -d '\r' | awk -v k="$3" '$1 == k { print $2 }' | sort -n |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else print v[int((NR + 1) / 2)] }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
row() { printf '%-36s %10s %10s %8s %10s  %s\n' "$@"; }

echo "Machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)," \
  "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1);" \
  "$(. /etc/os-release && echo "$PRETTY_NAME"); $($wine --version); $(date +%F);" \
  "$rounds rounds, medians"
for preset in "${presets[@]}"; do
  figure() {  # figure <program> <name> <label> <goal>: the program, twin, ratio, bare window
    local q t
    q=$(median "$preset" "$1" "$2")
    t=$(median "$preset" twin "$2")
    row "$3" "$q" "$t" "$(ratio "$q" "$t")" "$(median "$preset" bare "$2")" "$4"
  }
  echo
  echo "build/$preset"
  row "figure" "Quorvel" "twin" "ratio" "bare" "goal"
  figure quorvel startup_ms "start until ready for input (ms)" "ratio <= 1.10"
  figure windows7 startup_ms "  on the Windows 7 road (ms)" ""
  figure quorvel working_set_kib_start "working set after start (KiB)" "ratio <= 1.05"
  figure windows7 working_set_kib_start "  on the Windows 7 road (KiB)" ""
  q_100=$(median "$preset" quorvel working_set_kib_after_100_clicks)
  q_1000=$(median "$preset" quorvel working_set_kib_after_1000_clicks)
  row "working set after 100 clicks (KiB)" "$q_100" "" "" "" ""
  row "working set after 1000 clicks (KiB)" "$q_1000" "" "$(ratio "$q_1000" "$q_100")" "" \
    "no growth after 100"
  row "exe size, stripped (bytes)" "$(stat -c %s "build/$preset/Quorvel.exe")" \
    "$(stat -c %s "build/$preset/twin_window.exe")" "" \
    "$(stat -c %s "build/$preset/bare_window.exe")" \
    "$(scripts/check-exe.sh "build/$preset/Quorvel.exe" | sed -n 's/.*bytes, \(at most .*\|more than .*\)/\1/p')"
done
echo
echo "build/web (the page, beside the exe's start and compute above)"
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 bench/page_bench.py build/web/Quorvel.html "$rounds"
echo
build/native/bench/cipher_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  2>/dev/null | grep -E "median|Benchmark"
echo "goal: BM_Trace50x20 < 2000 ns"

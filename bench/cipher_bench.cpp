// Figures for the core at the fields' limits: a 50-letter phrase with a 20-character key.
#include <benchmark/benchmark.h>

#include "normalize.h"
#include "trace.h"

namespace {

const std::u16string kPhrase = u"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWX";
const std::u16string kKey = u"Ключ 0123456789abcde";
const std::u16string kTyped = u"Hello, world! Информатика 2026 - cipher Vigenere...";

void BM_Trace50x20(benchmark::State& state) {
  quorvel::CodeTable table;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvel::Trace(kPhrase, kKey, table));
  }
}
BENCHMARK(BM_Trace50x20);

void BM_Normalize50(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvel::Normalize(kTyped));
  }
}
BENCHMARK(BM_Normalize50);

}  // namespace

BENCHMARK_MAIN();

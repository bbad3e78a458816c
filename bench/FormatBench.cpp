// Cost of the report number formatter, which every report row calls.
#include <benchmark/benchmark.h>

#include "report/Format.h"

static void BM_FormatNumber(benchmark::State& state) {
    double v = 1.2345678e-3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kestro::FormatNumberText(v, 11));
        v *= 1.7;
        if (v > 1e9) v = 1.2345678e-3;
    }
}
BENCHMARK(BM_FormatNumber);

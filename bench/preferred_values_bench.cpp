// Snapping to a preferred-value series: up to five calls per design.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "calc/circuit/preferred_values.h"

namespace {

void BM_SnapToSeries(benchmark::State& state, double x, std::int32_t n) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(calc::SnapToSeries(x, n));
  }
}
// The default design's C2 (decade outside the table), its R3 (inside), and larger series.
BENCHMARK_CAPTURE(BM_SnapToSeries, default_c2_e6, 1.5915494309189534e-08, 6);
BENCHMARK_CAPTURE(BM_SnapToSeries, default_r3_e24, 21220.659078919378, 24);
BENCHMARK_CAPTURE(BM_SnapToSeries, e192, 4586.3, 192);
BENCHMARK_CAPTURE(BM_SnapToSeries, unsnapped, 21220.659078919378, 0);

}  // namespace

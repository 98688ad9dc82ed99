// The response curves the window plots: 1,000 frequencies with the op-amp model, and the
// figures measured on one curve.
#include <benchmark/benchmark.h>

#include <complex>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"

namespace {

const calc::Circuit kCircuit = calc::Design({1e3, 5, 2, 10e3, 96, 12}).Snapped;

void BM_Response1000PointsOpAmp(benchmark::State& state) {
  const std::vector<double> frequencies = calc::LogFrequencies(10, 100e3, 1000);
  const calc::OpAmp op_amp{1e5, 10e6};
  std::vector<std::complex<double>> curve(frequencies.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
      curve[i] = calc::CircuitResponse(kCircuit, op_amp, frequencies[i]);
    }
    benchmark::DoNotOptimize(curve.data());
  }
}
BENCHMARK(BM_Response1000PointsOpAmp)->Unit(benchmark::kMicrosecond);

void BM_MeasureOpAmpCurve(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc::MeasureCircuit(kCircuit, calc::OpAmp{1e5, 10e6}));
  }
}
BENCHMARK(BM_MeasureOpAmpCurve)->Unit(benchmark::kMicrosecond);

void BM_RequiredGbw(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc::RequiredGbw(kCircuit, calc::OpAmp{1e5, 10e6}, 0.01));
  }
}
BENCHMARK(BM_RequiredGbw)->Unit(benchmark::kMicrosecond);

void BM_RequiredA0(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc::RequiredA0(kCircuit, calc::OpAmp{1e5, 10e6}, 0.01));
  }
}
BENCHMARK(BM_RequiredA0)->Unit(benchmark::kMicrosecond);

}  // namespace

// The noise and headroom studies on the response window's curves: densities at 1,000
// frequencies with the op-amp model and its noise, and the whole analyses (the band's and
// all frequencies' integrals, the figures at the peak) around them.
#include <benchmark/benchmark.h>

#include <vector>

#include "calc/analysis/headroom.h"
#include "calc/analysis/noise.h"
#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"

namespace {

const calc::Circuit kCircuit = calc::Design({1e3, 5, 2, 10e3, 96, 12}).Snapped;
const calc::OpAmp kOpAmp{1.5e6, 8e6, 10e-12};
const calc::OpAmpNoise kNoise{3.2e-9, 2.7, 0.4e-12, 140};  // OP27's figures

void BM_NoiseDensity1000PointsOpAmp(benchmark::State& state) {
  const std::vector<double> frequencies = calc::LogFrequencies(10, 100e3, 1000);
  std::vector<calc::NoiseBySource> densities(frequencies.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
      densities[i] = calc::OutputNoisePowers(kCircuit, kOpAmp, kNoise, 298.15, frequencies[i]);
    }
    benchmark::DoNotOptimize(densities.data());
  }
}
BENCHMARK(BM_NoiseDensity1000PointsOpAmp)->Unit(benchmark::kMicrosecond);

void BM_AnalyzeNoise1000Points(benchmark::State& state) {
  const std::vector<double> frequencies = calc::LogFrequencies(10, 100e3, 1000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc::AnalyzeNoise(kCircuit, kOpAmp, kNoise, {}, frequencies));
  }
}
BENCHMARK(BM_AnalyzeNoise1000Points)->Unit(benchmark::kMicrosecond);

void BM_AnalyzeHeadroom1000Points(benchmark::State& state) {
  const std::vector<double> frequencies = calc::LogFrequencies(10, 100e3, 1000);
  calc::HeadroomSettings settings;
  settings.output = {30, 1.5, 1.5, 2.8e6, 20e-3};
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc::AnalyzeHeadroom(kCircuit, kOpAmp, settings, frequencies));
  }
}
BENCHMARK(BM_AnalyzeHeadroom1000Points)->Unit(benchmark::kMicrosecond);

}  // namespace

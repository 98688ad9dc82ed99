// The tolerance analysis: a Monte Carlo run of fo, Q and H, the envelope of the gain curve,
// the sensitivities and the worst-case search.
// Wall-clock time (UseRealTime), since the runs spread over threads.
#include <benchmark/benchmark.h>

#include <vector>

#include "calc/analysis/gain_envelope.h"
#include "calc/analysis/model_sensitivity.h"
#include "calc/analysis/monte_carlo.h"
#include "calc/analysis/response.h"
#include "calc/analysis/sensitivity.h"
#include "calc/analysis/worst_case.h"

namespace {

const calc::Circuit kDefaultDesign{11e3, 11e3, 22e3, 15e-9, 15e-9};

// 100,000 trials with the default tolerances; the argument is the thread count.
void BM_MonteCarlo100k(benchmark::State& state) {
  calc::ToleranceSettings settings;
  settings.trials = 100000;
  settings.seed = 1;
  settings.threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto result = calc::RunMonteCarlo(kDefaultDesign, settings);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_MonteCarlo100k)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MonteCarlo100kNormal(benchmark::State& state) {
  calc::ToleranceSettings settings;
  settings.trials = 100000;
  settings.distribution = calc::Distribution::kNormal;
  settings.threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto result = calc::RunMonteCarlo(kDefaultDesign, settings);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_MonteCarlo100kNormal)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The envelope of 10,000 trials' gain curves with the op-amp model at 400 frequencies,
// two decades either side of fo; the argument is the thread count.
void BM_GainEnvelope10kx400(benchmark::State& state) {
  calc::ToleranceSettings settings;
  settings.trials = 10000;
  settings.seed = 1;
  const auto run = calc::RunMonteCarlo(kDefaultDesign, settings);
  const std::vector<double> frequencies = calc::LogFrequencies(9.645, 96457.5, 400);
  const calc::OpAmp op_amp{100e3, 1e6};
  for (auto _ : state) {
    auto envelope = calc::ComputeGainEnvelope(run->trials, op_amp, frequencies,
                                              static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(envelope);
  }
}
BENCHMARK(BM_GainEnvelope10kx400)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ModelSensitivities(benchmark::State& state) {
  for (auto _ : state) {
    auto result = calc::ModelSensitivities(kDefaultDesign, calc::OpAmp{100e3, 1e6});
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ModelSensitivities)->Unit(benchmark::kMicrosecond);

void BM_WorstCase(benchmark::State& state) {
  for (auto _ : state) {
    auto result = calc::AnalyzeWorstCase(kDefaultDesign, calc::kDefaultTolerances);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_WorstCase);

void BM_Sensitivities(benchmark::State& state) {
  for (auto _ : state) {
    auto result = calc::AnalyzeSensitivities(kDefaultDesign);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_Sensitivities);

}  // namespace

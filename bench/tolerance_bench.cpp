// The tolerance analysis: a Monte Carlo run of fo, Q and H, and the worst-case search.
// Wall-clock time (UseRealTime), since the runs spread over threads.
#include <benchmark/benchmark.h>

#include "calc/monte_carlo.h"
#include "calc/sensitivity.h"
#include "calc/worst_case.h"

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

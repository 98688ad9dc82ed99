// The joint search of preferred values and its yield run, on a filter the design command's
// set misses by a few per cent (fo 10k, Q 8, H 4). Wall-clock time (UseRealTime), since
// the work spreads over threads; the argument is the thread count.
#include <benchmark/benchmark.h>

#include <vector>

#include "calc/analysis/target_yield.h"
#include "calc/studies/preferred_value_search.h"

namespace {

calc::PreferredValueSearchSettings Settings(std::int32_t series_r, std::int32_t series_c, int steps,
                                            bool op_amp, int threads) {
  calc::PreferredValueSearchSettings settings;
  settings.design = {10e3, 8, 4, 10e3, series_r, series_c};
  settings.steps = steps;
  if (op_amp) settings.op_amp = calc::OpAmp{1e5, 10e6, 0};
  settings.threads = threads;
  return settings;
}

void Run(benchmark::State& state, const calc::PreferredValueSearchSettings& settings) {
  std::int64_t measured = 0, searched = 0;
  for (auto _ : state) {
    auto search = calc::SearchPreferredValues(settings);
    if (!search) state.SkipWithError("the search failed");
    measured = search->measured;
    searched = search->searched;
    benchmark::DoNotOptimize(search);
  }
  state.counters["sets"] = static_cast<double>(searched);
  state.counters["measured"] = static_cast<double>(measured);
}

// k = 2, E24 / E6, the op-amp model: 3,125 sets.
void BM_SearchK2OpAmp(benchmark::State& state) {
  Run(state, Settings(24, 6, 2, true, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SearchK2OpAmp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// k = 3, E192 / E24: 16,807 sets, with the op-amp model and ideal.
void BM_SearchK3E192OpAmp(benchmark::State& state) {
  Run(state, Settings(192, 24, 3, true, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SearchK3E192OpAmp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SearchK3E192Ideal(benchmark::State& state) {
  Run(state, Settings(192, 24, 3, false, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SearchK3E192Ideal)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// k = 6, the widest search: 13^5 = 371,293 sets.
void BM_SearchK6OpAmp(benchmark::State& state) {
  Run(state, Settings(24, 6, 6, true, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SearchK6OpAmp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SearchK6Ideal(benchmark::State& state) {
  Run(state, Settings(24, 6, 6, false, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SearchK6Ideal)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yield of the best 10 sets of the k = 2 search, 2,000 trials each, default
// tolerances, with the op-amp model and ideal.
void Yield(benchmark::State& state, bool op_amp) {
  calc::PreferredValueSearchSettings settings =
      Settings(24, 6, 2, op_amp, static_cast<int>(state.range(0)));
  const auto search = calc::SearchPreferredValues(settings);
  std::vector<calc::Circuit> sets;
  for (const calc::ScoredSet& set : search->sets) sets.push_back(set.parts);
  calc::ToleranceSettings tolerance;
  tolerance.trials = 2000;
  tolerance.seed = 1;
  tolerance.threads = settings.threads;
  const calc::TransferFunction target{10e3, 8, 4};
  for (auto _ : state) {
    auto yields = calc::TargetYields(sets, target, settings.allowances, settings.op_amp, tolerance);
    benchmark::DoNotOptimize(yields);
  }
}
void BM_YieldBest10x2000OpAmp(benchmark::State& state) { Yield(state, true); }
BENCHMARK(BM_YieldBest10x2000OpAmp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_YieldBest10x2000Ideal(benchmark::State& state) { Yield(state, false); }
BENCHMARK(BM_YieldBest10x2000Ideal)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

#include "calc/analysis/monte_carlo.h"

#include <cmath>
#include <optional>
#include <utility>

#include "calc/circuit/band_pass.h"
#include "calc/numeric/counter_random.h"

namespace calc {
namespace {

// Trials per work item: small enough for progress every few hundred trials, large enough
// that handing out chunks costs nothing measurable.
constexpr std::int64_t kTrialChunk = 256;

bool Within(double value, double centre, double limit) {
  return std::fabs(value / centre - 1.0) <= limit;
}

}  // namespace

std::int64_t CountInsideLimits(const std::vector<Trial>& trials, const TransferFunction& centre,
                               const YieldLimits& limits) {
  std::int64_t inside = 0;
  for (const Trial& trial : trials) {
    const TransferFunction& f = trial.figures;
    if (Within(f.Fo, centre.Fo, limits.Fo) && Within(f.Q, centre.Q, limits.Q) &&
        Within(f.H, centre.H, limits.H)) {
      ++inside;
    }
  }
  return inside;
}

Outcome<MonteCarloResult> RunMonteCarlo(const Circuit& nominal, const ToleranceSettings& settings,
                                        const ProgressCallback& progress) {
  if (std::optional<Diagnostic> problem = ToleranceSettingsProblem(nominal, settings)) {
    return *std::move(problem);
  }
  MonteCarloResult result;
  result.seed = settings.seed;
  result.settings = settings;
  result.nominal = Analyze(nominal);
  result.centre = settings.yield_centre.value_or(result.nominal);
  result.trials.resize(static_cast<std::size_t>(settings.trials));

  const std::uint64_t key = RandomKey(settings.seed);
  Trial* const trials = result.trials.data();
  const bool completed = ParallelFor(
      settings.trials, kTrialChunk, settings.threads,
      [&](std::int64_t begin, std::int64_t end) {
        for (std::int64_t i = begin; i < end; ++i) {
          Trial& trial = trials[i];
          trial.circuit = TrialCircuit(nominal, settings, key, i);
          trial.figures = Analyze(trial.circuit);
        }
      },
      progress);
  if (!completed) return Diagnostic{Problem::kCancelled};

  // The three figures' percentiles are independent selections: one per thread.
  constexpr double TransferFunction::*kFigures[] = {&TransferFunction::Fo, &TransferFunction::Q,
                                                    &TransferFunction::H};
  Percentiles* const summaries[] = {&result.Fo, &result.Q, &result.H};
  ParallelFor(3, 1, settings.threads, [&](std::int64_t begin, std::int64_t end) {
    std::vector<double> sample(result.trials.size());
    for (std::int64_t figure = begin; figure < end; ++figure) {
      for (std::size_t i = 0; i < sample.size(); ++i) {
        sample[i] = result.trials[i].figures.*kFigures[figure];
      }
      *summaries[figure] = SummarizeSample(sample);
    }
  });
  result.yield = WilsonInterval(CountInsideLimits(result.trials, result.centre, settings.limits),
                                settings.trials);
  return result;
}

}  // namespace calc

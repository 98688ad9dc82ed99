// The Monte Carlo run: many circuits drawn inside the tolerance box, their fo, Q and H,
// percentiles and the yield against the limits.
#ifndef KORVANE_CALC_ANALYSIS_MONTE_CARLO_H
#define KORVANE_CALC_ANALYSIS_MONTE_CARLO_H

#include <cstdint>
#include <vector>

#include "calc/analysis/tolerance.h"
#include "calc/circuit/circuit.h"
#include "calc/numeric/parallel_for.h"
#include "calc/numeric/sample_statistics.h"
#include "calc/text/outcome.h"

namespace calc {

// One drawn circuit and what it achieves.
struct Trial {
  Circuit circuit;
  TransferFunction figures;
};

struct MonteCarloResult {
  std::uint64_t seed = 0;
  ToleranceSettings settings;  // what the run was asked, so that it can be repeated
  TransferFunction nominal;    // the nominal circuit's figures
  // The yield limits' centre: settings.yield_centre, else `nominal`.
  TransferFunction centre;
  std::vector<Trial> trials;  // in trial order: trials[i] is trial i of the seed
  Percentiles Fo, Q, H;       // Percentile's definition
  // Trials whose fo, Q and H each lie within the limits about the centre
  // (|x / x_centre - 1| <= limit), with the 95 % Wilson interval.
  Proportion yield;

  bool CentredOnTarget() const { return settings.yield_centre.has_value(); }
};

// Runs settings.trials trials of `nominal` (TrialCircuit, then Analyze) on settings.threads
// threads; the result is the same for any number of threads. Progress is reported in
// trials, every 256 or so. Settings that ToleranceSettingsProblem rejects give its
// diagnostic, without a run; a cancelled run gives kCancelled. Faults in the formulas
// raise FloatError as Analyze does.
Outcome<MonteCarloResult> RunMonteCarlo(const Circuit& nominal, const ToleranceSettings& settings,
                                        const ProgressCallback& progress = {});

// How many trials are inside the limits about `centre`'s figures.
std::int64_t CountInsideLimits(const std::vector<Trial>& trials, const TransferFunction& centre,
                               const YieldLimits& limits);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_MONTE_CARLO_H

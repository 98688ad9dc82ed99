// The yield of a set of parts against the target: how many boards built from it, with the
// parts spread by their tolerances, come out within the allowances of the filter asked for.
#ifndef KORVANE_CALC_ANALYSIS_TARGET_YIELD_H
#define KORVANE_CALC_ANALYSIS_TARGET_YIELD_H

#include <optional>
#include <span>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/analysis/target_score.h"
#include "calc/analysis/tolerance.h"
#include "calc/circuit/circuit.h"
#include "calc/numeric/parallel_for.h"
#include "calc/numeric/sample_statistics.h"
#include "calc/text/outcome.h"

namespace calc {

// For each circuit, the share of its Monte Carlo trials whose figures (CircuitFigures) are
// within `allowances` of `target` (WithinAllowances), with the 95 % Wilson interval. The
// trials are the tolerance study's: TrialCircuit with the settings' tolerances,
// distribution and seed, trials 0 ... settings.trials - 1, so every circuit meets the same
// random numbers and two circuits' yields differ by their parts, not by sampling noise.
// The settings' own yield limits (around a circuit's nominal figures) play no part. A trial
// whose figures cannot be found counts as outside. With an op-amp a trial is judged on its
// solved figures where they settle it beyond doubt and measured otherwise, which gives the
// same count as measuring every trial. Runs on settings.threads threads; progress counts
// trials over all circuits; a cancelled run gives kCancelled. A tolerance outside 0 ... 1
// gives kToleranceRange, a trial count outside 1 ... kMaxTrials kTrialCount, as the tolerance
// study's settings are refused.
Outcome<std::vector<Proportion>> TargetYields(std::span<const Circuit> circuits,
                                              const TransferFunction& target,
                                              const Allowances& allowances,
                                              const std::optional<OpAmp>& op_amp,
                                              const ToleranceSettings& settings,
                                              const ProgressCallback& progress = {});

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_TARGET_YIELD_H

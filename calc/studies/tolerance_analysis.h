// The whole tolerance analysis of a built circuit in one call, as the window's tolerance
// page and the command line run it: sensitivities, worst case, Monte Carlo run, and the
// envelope of the gain curve.
#ifndef KORVANE_CALC_STUDIES_TOLERANCE_ANALYSIS_H
#define KORVANE_CALC_STUDIES_TOLERANCE_ANALYSIS_H

#include <optional>
#include <span>

#include "calc/analysis/gain_envelope.h"
#include "calc/analysis/monte_carlo.h"
#include "calc/analysis/response.h"
#include "calc/analysis/sensitivity.h"
#include "calc/analysis/tolerance.h"
#include "calc/analysis/worst_case.h"
#include "calc/circuit/circuit.h"
#include "calc/numeric/parallel_for.h"
#include "calc/text/outcome.h"

namespace calc {

struct ToleranceAnalysis {
  Circuit circuit;
  ToleranceSettings settings;
  Sensitivities sensitivities;                       // of the formulas' fo, Q and H
  std::optional<Sensitivities> model_sensitivities;  // with the op-amp, when one is given
  WorstCase worst_case;
  MonteCarloResult monte_carlo;
  GainEnvelope envelope;  // empty without envelope frequencies
  // The run was stopped during its Monte Carlo part (the trials or their gain envelope):
  // the sensitivities and the worst case, which take moments, are whole; monte_carlo and
  // envelope are empty.
  bool monte_carlo_stopped = false;
};

// Everything above for `circuit` with `settings`; the model's sensitivities and the
// envelope use `op_amp` (the envelope an ideal op-amp without one). Runs on the calling
// thread plus settings.threads - 1 others, so a window calls it off its own thread.
// Progress counts the Monte Carlo trials, then the envelope's trial responses, on one
// scale; a run cancelled through it gives the analysis with monte_carlo_stopped. Settings that
// ToleranceSettingsProblem rejects give its diagnostic; faults in the formulas raise FloatError.
Outcome<ToleranceAnalysis> RunToleranceAnalysis(const Circuit& circuit,
                                                const ToleranceSettings& settings,
                                                const std::optional<OpAmp>& op_amp,
                                                std::span<const double> envelope_hz,
                                                const ProgressCallback& progress = {});

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_TOLERANCE_ANALYSIS_H

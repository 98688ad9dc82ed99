// The spread of the gain curve over a Monte Carlo run's trials.
#ifndef KORVANE_CALC_ANALYSIS_GAIN_ENVELOPE_H
#define KORVANE_CALC_ANALYSIS_GAIN_ENVELOPE_H

#include <optional>
#include <span>
#include <vector>

#include "calc/analysis/monte_carlo.h"
#include "calc/analysis/response.h"
#include "calc/numeric/parallel_for.h"
#include "calc/text/outcome.h"

namespace calc {

// At each frequency, the 5 %, 50 % and 95 % percentiles (Percentile's definition) of the
// trials' gains in dB, 10 log10 |h|^2: 90 % of the built circuits' curves pass between
// low_db and high_db.
struct GainEnvelope {
  std::vector<double> frequencies_hz;
  std::vector<double> low_db, median_db, high_db;
};

// The envelope of `trials`' responses (CircuitResponse with `op_amp`, ideal without one) at
// `frequencies_hz`, one frequency per work item on `threads` threads (0: all). Progress is
// reported in trial responses (trials x frequencies in all); a cancelled run gives
// kCancelled. Each frequency's figures depend on the trials alone, so any thread count
// gives the same envelope.
Outcome<GainEnvelope> ComputeGainEnvelope(std::span<const Trial> trials,
                                          const std::optional<OpAmp>& op_amp,
                                          std::span<const double> frequencies_hz, int threads = 0,
                                          const ProgressCallback& progress = {});

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_GAIN_ENVELOPE_H

// The tolerance analysis as CSV text, for the window's export and the command line.
#ifndef KORVANE_CALC_EXPORT_TOLERANCE_CSV_H
#define KORVANE_CALC_EXPORT_TOLERANCE_CSV_H

#include <optional>
#include <string>

#include "calc/analysis/monte_carlo.h"
#include "calc/analysis/sensitivity.h"
#include "calc/analysis/worst_case.h"

namespace calc {

// One row per trial: "trial,R1,R2,R3,C1,C2,fo_hz,Q,H" (ohms, farads; the R2 column left
// out when the circuit has none), trials numbered from 0 as the seed numbers them. Records
// end in CR LF, as RFC 4180 has it.
std::string TrialsCsv(const MonteCarloResult& run);

// The summary in long form, "section,figure,statistic,value", one row per number:
// sensitivity (statistic: the part, or GBW for model_sensitivity), worst_case (min, max),
// monte_carlo (nominal, min, p0_5, p5, p50, p95, p99_5, max) for the figures fo, Q and H,
// then the run's settings (trials, seed, distribution; each part's tolerance and each
// figure's limit as fractions) and its yield (yield, yield_low, yield_high: the 95 %
// interval). Sensitivities without a value are left out. Records end in CR LF.
std::string SummaryCsv(const Sensitivities& sensitivities,
                       const std::optional<Sensitivities>& model_sensitivities,
                       const WorstCase& worst_case, const MonteCarloResult& run);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_TOLERANCE_CSV_H

// The tolerance analysis as a plain-text report, laid out like the calculator's own report
// (fixed-width SI texts, CR LF line ends), for the command line and the clipboard.
#ifndef KORVANE_CALC_EXPORT_TOLERANCE_REPORT_H
#define KORVANE_CALC_EXPORT_TOLERANCE_REPORT_H

#include <optional>
#include <string>

#include "calc/analysis/monte_carlo.h"
#include "calc/analysis/sensitivity.h"
#include "calc/analysis/worst_case.h"
#include "calc/circuit/circuit.h"

namespace calc {

// Sections "[Circuit]", "[Tolerance]", "[Sensitivity]" (and "[Sensitivity with op-amp]"
// when given), "[Worst case]", "[Monte Carlo]" and "[Yield]". Figures are
// FormatDisplayed texts, sensitivities four decimals, percentages two, each table column
// right-aligned in ten characters.
// The percentile columns follow Percentile's definition; the yield line carries its 95 %
// Wilson interval. Parts the circuit lacks are left out. Lines end in CR LF.
// For the default design the fo row of the sensitivities reads
// "fo       -0.2500   -0.2500   -0.5000   -0.5000   -0.5000".
std::u16string BuildToleranceReport(const Circuit& circuit, const Sensitivities& sensitivities,
                                    const std::optional<Sensitivities>& model_sensitivities,
                                    const WorstCase& worst_case, const MonteCarloResult& run);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_TOLERANCE_REPORT_H

// The extremes of fo, Q and H over the tolerance box: every part anywhere within its band.
#ifndef KORVANE_CALC_ANALYSIS_WORST_CASE_H
#define KORVANE_CALC_ANALYSIS_WORST_CASE_H

#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"

namespace calc {

struct Range {
  double min = kNoValue, max = kNoValue;
};

struct WorstCase {
  Range Fo, Q, H;
};

// The smallest and largest fo, Q and H of `nominal` with each part anywhere between
// nominal (1 - t) and nominal (1 + t). A function that is monotone in each part takes its
// extremes at corners of the box (each part at one end of its band), so the corners are
// searched: 2^5 of them, 2^4 without R2. fo and H are monotone in every part (their
// sensitivities keep one sign), and Q in every resistor, but Q rises and falls with C1/C2
// (it peaks at C1 = C2): where both capacitors' bands overlap, the points with C1 = C2 at
// every resistor corner are searched too, so Q's maximum is exact there as well.
// Parts must be positive and tolerances below 1 (ToleranceSettingsProblem); faults in the
// formulas raise FloatError as Analyze does.
WorstCase AnalyzeWorstCase(const Circuit& nominal, const PartValues& tolerances);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_WORST_CASE_H

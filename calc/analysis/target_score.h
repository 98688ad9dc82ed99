// How near a circuit comes to the filter it should be: its figures, their errors from the
// target and one score, the way the joint search of preferred values and its yield judge a
// set of parts.
#ifndef KORVANE_CALC_ANALYSIS_TARGET_SCORE_H
#define KORVANE_CALC_ANALYSIS_TARGET_SCORE_H

#include <optional>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

// How far each figure may miss its target and still be good, as fractions (0.01 = 1 %).
struct Allowances {
  double Fo = 0.01, Q = 0.03, H = 0.03;
};

// The figures of a built circuit: with an op-amp model, MeasureCircuit's peak frequency,
// bandwidth Q and peak gain (as a magnitude); with an ideal op-amp, Analyze's fo, Q and H.
// A figure that cannot be found, or formulas that raise FloatError, leave no value.
// (11k, 11k, 22k, 15n, 15n), ideal -> 964.5754126781536, 0.9999999999999999, 1.0.
TransferFunction CircuitFigures(const Circuit& circuit, const std::optional<OpAmp>& op_amp);

// e = figure / target - 1 for each figure: fo 990 against 1000 -> -0.01.
struct TargetErrors {
  double Fo = kNoValue, Q = kNoValue, H = kNoValue;
};
TargetErrors ErrorsFrom(const TransferFunction& figures, const TransferFunction& target);

// The largest of |e| / allowance over the three figures: 1 or less meets every allowance,
// lower is better. No value when an error has none.
// Errors (-0.005, 0.03, 0.0) with the default allowances -> 1.0 (Q's).
double Score(const TargetErrors& errors, const Allowances& allowances);

// What breaks a tie between equal scores: the sum of the three squared scaled errors
// (e / allowance)^2, lower is better. Errors (-0.005, 0.03, 0.0) -> 1.25.
double TieBreak(const TargetErrors& errors, const Allowances& allowances);

// Whether every |e| is within its allowance (|e| <= allowance).
bool WithinAllowances(const TargetErrors& errors, const Allowances& allowances);

// Where |e| / allowance lies for a figure known only to within a relative margin (the
// true figure is figure (1 +- margin)): at least `least`, at most `most`.
// (1010 against 1000, allowance 0.01, margin 1e-3) -> least 0.899, most 1.101.
struct ScaledErrorRange {
  double least = kNoValue, most = kNoValue;
};
ScaledErrorRange ScaledErrorWithin(double figure, double target, double allowance, double margin);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_TARGET_SCORE_H

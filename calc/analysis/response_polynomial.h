// The circuit's response as a ratio of polynomials, and the figures MeasureCircuit finds on
// the curve solved from that form instead: a few hundred operations where the measurement
// takes about a thousand responses. The searches use them to tell, without measuring,
// which circuits cannot come near their target, and as the model a solver steps on.
#ifndef KORVANE_CALC_ANALYSIS_RESPONSE_POLYNOMIAL_H
#define KORVANE_CALC_ANALYSIS_RESPONSE_POLYNOMIAL_H

#include <optional>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

// Vout / Vin = -Numerator s / (D0 + D1 s + D2 s^2 + D3 s^3), the same function of s that
// CircuitResponse evaluates: Numerator = C2 / R1, and D3 = 0 with an ideal op-amp.
// (11k, 11k, 22k, 15n, 15n), ideal -> D0 = 1/(11k 22k) 2, D1 = 30n / 22k, D2 = 225e-18.
struct ResponsePolynomial {
  double Numerator = kNoValue;
  double D0 = kNoValue, D1 = kNoValue, D2 = kNoValue, D3 = kNoValue;
};
ResponsePolynomial ResponsePolynomialOf(const Circuit& circuit, const std::optional<OpAmp>& op_amp);

// How far, relative to each figure, MeasureCircuit's figures may lie from SolveFigures' where
// the latter are marked `measurable`. Ten times the measurement's stated precision (1e-7).
inline constexpr double kSolvedFigureMargin = 1e-6;

// The peak frequency (Hz), the bandwidth Q (peak / -3 dB bandwidth) and the peak gain (a
// magnitude) of the circuit's response, solved on its polynomial. `measurable`: the
// response lies where MeasureCircuit searches and resolves it (the peak within seven
// decades of where it looks, the -3 dB points within five of the peak, a peak neither as
// flat as Q 0.08 nor as sharp as Q 1000, CircuitResponse's rounding small and its gain the
// polynomial's there), so MeasureCircuit's figures are these within kSolvedFigureMargin.
// No value for a circuit without a band-pass peak (a part that is not positive and
// finite, a polynomial that does not rise to a peak).
// The default design (11k, 11k, 22k, 15n, 15n), ideal -> 964.5754126781536 Hz, Q 1 and
// gain 1, to the last digit or two.
struct SolvedFigures {
  double peak_hz = kNoValue;
  double q_bandwidth = kNoValue;
  double peak_gain = kNoValue;
  bool measurable = false;
};
std::optional<SolvedFigures> SolveFigures(const Circuit& circuit,
                                          const std::optional<OpAmp>& op_amp);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_RESPONSE_POLYNOMIAL_H

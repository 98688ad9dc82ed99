// The multiple-feedback band-pass formulas on values. Every operation is one checked
// double operation in the grouping written, since results are shown to the last digit.
#ifndef KORVANE_CALC_CIRCUIT_BAND_PASS_H
#define KORVANE_CALC_CIRCUIT_BAND_PASS_H

#include <cstdint>

#include "calc/circuit/circuit.h"

namespace calc {

// 2 pi as the double every formula uses: the angular frequency of fo is fo x kTwoPi.
inline constexpr double kTwoPi = 6.283185307179586;

// fo, Q and H of `circuit` (the formulas without R2 when it has none). Floating-point
// faults raise FloatError at the faulting operation, fo's formula before Q's before H's.
// (11e3, 11e3, 22e3, 15e-9, 15e-9) -> 964.5754126781536, 0.9999999999999999, 1.0;
// (5100, no R2, 22e3, 15e-9, 15e-9) -> 1001.6879378924207, 1.0384755040678715, 2.15686...;
// R1 = 0 -> FloatError "Floating point division by zero".
TransferFunction Analyze(const Circuit& circuit);

// What the designer asks for. Series sizes as ParseSeriesSize reads them (0: no
// snapping); LockedC2 is the C2 to keep, or no value to let the design choose it.
struct DesignRequest {
  double Fo = kNoValue, Q = kNoValue, H = kNoValue;
  double Zref = kNoValue;  // reference impedance: C2's impedance at fo comes nearest it
  std::int32_t SeriesR = 0, SeriesC = 0;
  double LockedC2 = kNoValue;
};

struct DesignResult {
  Circuit Snapped;            // R2 has no value where the design leaves it out
  TransferFunction Achieved;  // the snapped circuit analysed again
  bool QMissed = false;       // the achieved Q misses the wanted one by more than 3 %
};

// The locked C2 when it has a value, else the size-SeriesC capacitor whose impedance at fo
// is nearest Zref. (1000 Hz, 10 kOhm, E6) -> 1.4999999999999492e-08.
double ChooseC2(const DesignRequest& request);

// The design around a given C2: C1 from C2, then R3, R1 and R2 snapped (R2 is left out
// where the gain needs none or it would exceed 1000 R1), then the snapped circuit analysed.
// C2 = 1.4999999999999492e-08, (1000, 1, 1, 24, 6) -> C1 = C2, R1 = R2 = 11000, R3 = 22000,
// Q 0.9999999999999999, no miss; (1000, 2, 10, 24, 6) -> C1 10 nF, R1 3300, no R2,
// R3 51000, Q missed. Faults raise FloatError at the faulting operation.
DesignResult DesignAroundC2(const DesignRequest& request, double C2);

// The resistors that give exactly the target's fo, Q and H with capacitors C1 and C2 and an
// ideal op-amp: DesignAroundC2's formulas, in its grouping, without snapping. R2 has no
// value where the gain needs none (H at or above ((C2/C1 + 1) Q) Q); then R1 and R3 keep
// H exact and fo and Q come out high by the same factor. Faults raise FloatError.
// ({1000, 1, 1}, 15e-9, 15e-9) -> R1 = R2 = 10610.32953945969, R3 = 21220.65907891938;
// ({1000, 2, 10}, 10e-9, 15e-9) -> no R2 (H = ((1.5 + 1) 2) 2 exactly).
Circuit ExactResistors(const TransferFunction& target, double C1, double C2);

// ChooseC2, then DesignAroundC2.
DesignResult Design(const DesignRequest& request);

}  // namespace calc

#endif  // KORVANE_CALC_CIRCUIT_BAND_PASS_H

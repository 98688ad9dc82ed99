// How strongly each figure of the band-pass follows each part: the normalised sensitivity
// S = d ln y / d ln x, the relative change of the figure per relative change of the part
// (S = -1/2: a part 1 % high moves the figure 0.5 % down).
#ifndef KORVANE_CALC_ANALYSIS_SENSITIVITY_H
#define KORVANE_CALC_ANALYSIS_SENSITIVITY_H

#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"

namespace calc {

// One figure's sensitivity to each part. Entries for parts the circuit lacks (R2 without a
// value) have no value; so has Gbw where the op-amp is ideal.
struct PartSensitivities {
  double R1 = kNoValue, R2 = kNoValue, R3 = kNoValue, C1 = kNoValue, C2 = kNoValue;
  double Gbw = kNoValue;
};

// The parts' entries in the order of kPartNames (the op-amp's Gbw is not a part).
inline PartValues PartsOf(const PartSensitivities& s) { return {s.R1, s.R2, s.R3, s.C1, s.C2}; }

struct Sensitivities {
  PartSensitivities Fo, Q, H;
};

// The exact sensitivities of Analyze's fo, Q and H, from their derivatives. With
// G = 1/R1 + 1/R2, fo ~ sqrt(G / (R3 C1 C2)), Q = sqrt(G R3 C1 C2) / (C1 + C2) and
// H = R3 C2 / (R1 (C1 + C2)), so with a = R2 / (R1 + R2) (1 without R2), the share of G
// through R1, and k = C1 / (C1 + C2):
//   fo: R1 -a/2, R2 -(1-a)/2, R3 -1/2, C1 -1/2, C2 -1/2
//   Q:  R1 -a/2, R2 -(1-a)/2, R3 +1/2, C1 1/2 - k, C2 k - 1/2
//   H:  R1 -1,   R2 0,        R3 +1,   C1 -k,      C2 k
// Scaling every resistor, or every capacitor, scales fo by the inverse and leaves Q and H,
// so fo's entries sum to -1 over the resistors and over the capacitors, Q's and H's to 0.
// The parts must be positive. (10k, 10k, 20k, 10n, 10n) -> fo {-1/4, -1/4, -1/2, -1/2, -1/2}.
Sensitivities AnalyzeSensitivities(const Circuit& circuit);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_SENSITIVITY_H

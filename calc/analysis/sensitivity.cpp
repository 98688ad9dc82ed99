#include "calc/analysis/sensitivity.h"

namespace calc {

Sensitivities AnalyzeSensitivities(const Circuit& circuit) {
  const double R1 = circuit.R1, R2 = circuit.R2, C1 = circuit.C1, C2 = circuit.C2;
  // a: the share of G = 1/R1 + 1/R2 that flows through R1, (1/R1) / G = R2 / (R1 + R2).
  const double a = circuit.HasR2() ? R2 / (R1 + R2) : 1.0;
  const double b = circuit.HasR2() ? R1 / (R1 + R2) : kNoValue;
  // k: C1's share of C1 + C2. Q's capacitor entries 1/2 - k and k - 1/2 are written
  // (C2 - C1) / (2 (C1 + C2)) so that equal capacitors give exactly zero.
  const double sum_c = C1 + C2;
  const double k = C1 / sum_c;
  const double q_c1 = (C2 - C1) / (2.0 * sum_c);
  const double q_c2 = (C1 - C2) / (2.0 * sum_c);  // not -q_c1: equal parts give +0, not -0

  Sensitivities s;
  s.Fo = {-a / 2.0, -b / 2.0, -0.5, -0.5, -0.5, kNoValue};
  s.Q = {-a / 2.0, -b / 2.0, 0.5, q_c1, q_c2, kNoValue};
  s.H = {-1.0, circuit.HasR2() ? 0.0 : kNoValue, 1.0, -k, k, kNoValue};
  return s;
}

}  // namespace calc

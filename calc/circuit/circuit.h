// The band-pass circuit and its transfer function as plain values, so that every tool
// (the window, the command line, plots, tolerance runs) computes with the same numbers.
#ifndef KORVANE_CALC_CIRCUIT_CIRCUIT_H
#define KORVANE_CALC_CIRCUIT_CIRCUIT_H

#include <cmath>

#include "calc/numeric/quantity.h"

namespace calc {

// The multiple-feedback band-pass: IN through R1 to the summing node, R2 from there to
// ground (absent when it has no value), C1 from the summing node to the output, C2 from
// the summing node to the inverting input, R3 from the inverting input to the output.
// Ohms and farads.
struct Circuit {
  double R1 = kNoValue, R2 = kNoValue, R3 = kNoValue;
  double C1 = kNoValue, C2 = kNoValue;

  bool HasR2() const { return !std::isnan(R2); }
};

// Centre frequency in hertz, quality factor and centre gain (a magnitude; the circuit
// inverts).
struct TransferFunction {
  double Fo = kNoValue, Q = kNoValue, H = kNoValue;
};

}  // namespace calc

#endif  // KORVANE_CALC_CIRCUIT_CIRCUIT_H

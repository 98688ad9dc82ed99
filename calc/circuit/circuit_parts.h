// The five parts of a circuit as an indexed list, for the analyses that treat every part
// alike (sensitivities, tolerance corners, Monte Carlo trials).
#ifndef KORVANE_CALC_CIRCUIT_CIRCUIT_PARTS_H
#define KORVANE_CALC_CIRCUIT_CIRCUIT_PARTS_H

#include <array>
#include <string_view>

#include "calc/circuit/circuit.h"

namespace calc {

inline constexpr int kPartCount = 5;
enum Part : int { kR1 = 0, kR2 = 1, kR3 = 2, kC1 = 3, kC2 = 4 };
inline constexpr std::array<std::string_view, kPartCount> kPartNames = {"R1", "R2", "R3", "C1",
                                                                        "C2"};

inline constexpr bool IsResistor(int part) { return part <= kR3; }

// One number per part, in the order R1, R2, R3, C1, C2.
using PartValues = std::array<double, kPartCount>;

inline PartValues PartsOf(const Circuit& c) { return {c.R1, c.R2, c.R3, c.C1, c.C2}; }
inline Circuit CircuitOf(const PartValues& v) { return {v[kR1], v[kR2], v[kR3], v[kC1], v[kC2]}; }

// Whether `part` is in the circuit: every part but an R2 without a value.
inline bool HasPart(const Circuit& c, int part) { return part != kR2 || c.HasR2(); }

}  // namespace calc

#endif  // KORVANE_CALC_CIRCUIT_CIRCUIT_PARTS_H

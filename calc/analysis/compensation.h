// Resistors that make the circuit hit its target on a real op-amp: the ideal closed form
// corrected for the op-amp's finite gain, gain-bandwidth and input capacitance.
#ifndef KORVANE_CALC_ANALYSIS_COMPENSATION_H
#define KORVANE_CALC_ANALYSIS_COMPENSATION_H

#include <optional>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

// R1, R2 and R3 for capacitors C1 and C2 whose figures on `op_amp`, as MeasureCircuit
// measures them (peak frequency, bandwidth Q, peak gain), are the target's fo, Q and H
// within a relative 1e-6. R2 is in the circuit exactly when ExactResistors puts one there;
// without it there are two resistors for three figures, and the peak frequency and gain
// are matched. Solved from the ideal closed form by Newton steps on the solved figures
// (SolveFigures), then corrected on the measured ones. No value where no such resistors
// exist (the op-amp too slow, or its gain too low, for the target with these capacitors;
// R2 would have to be negative) or the target holds no usable number.
// Target (10 kHz, Q 8, H 4), 1.5 nF each, A0 1e5, GBW 1 MHz -> R1 18.26k, R2 679.4,
// R3 147.9k (the closed form's 21.22k, 684.5 and 169.8k peak 9.6 % low on that op-amp).
std::optional<Circuit> CompensatedResistors(const TransferFunction& target, double C1, double C2,
                                            const OpAmp& op_amp);

// The lowest GBW, with op_amp's A0 and Cin, at which CompensatedResistors finds resistors for
// these capacitors, to a relative 1e-6: scanned down (or up, where op_amp.Gbw has none) by
// decades from op_amp.Gbw, then bisected. No value where even a GBW of 1e15 Hz finds none
// (A0 too low for the target) or where every GBW down to a millionth of the target's fo
// does.
std::optional<double> LowestCompensableGbw(const TransferFunction& target, double C1, double C2,
                                           const OpAmp& op_amp);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_COMPENSATION_H

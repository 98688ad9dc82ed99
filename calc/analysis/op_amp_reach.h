// What an op-amp whose GBW falls short can still serve, so that a designer knows how far
// to move the wanted figures, or how much faster an op-amp to look for.
#ifndef KORVANE_CALC_ANALYSIS_OP_AMP_REACH_H
#define KORVANE_CALC_ANALYSIS_OP_AMP_REACH_H

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

// Both read against RequiredGbw at `tolerance`, the op-amp as given:
//  - fo_at_q_hz, the highest centre frequency at the circuit's Q and H. Scaling both
//    capacitors by one factor keeps Q and H and moves every frequency by its inverse, and
//    with the single-pole op-amp the required GBW moves with it: the circuit's fo times
//    Gbw / RequiredGbw. (With input capacitance, which no scaling moves, an estimate.)
//  - q_at_fo, the highest Q at the circuit's fo and H: the resistors worked out exactly for
//    (fo, Q', H) around the circuit's C1 and C2 (ExactResistors), the largest Q' up to the
//    circuit's own at which RequiredGbw <= Gbw, to 0.1 %: the first that serves going
//    down by a fifth at a time (to a thousandth of the circuit's Q), then bisected.
// Either has no value where nothing serves (an A0 too low at any GBW, no Q' down to the
// thousandth) or the circuit's figures cannot be worked out.
struct OpAmpReach {
  double q_at_fo = kNoValue;
  double fo_at_q_hz = kNoValue;
};
OpAmpReach ReachOfOpAmp(const Circuit& circuit, const OpAmp& op_amp, double tolerance);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_OP_AMP_REACH_H

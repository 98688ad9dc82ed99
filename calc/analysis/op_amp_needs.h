// What the circuit needs of its op-amp beyond the gain-bandwidth product (RequiredGbw) and
// the slew rate (RequiredSlewRate): the DC gain.
#ifndef KORVANE_CALC_ANALYSIS_OP_AMP_NEEDS_H
#define KORVANE_CALC_ANALYSIS_OP_AMP_NEEDS_H

#include "calc/circuit/circuit.h"

namespace calc {

// The smallest A0 at which the op-amp circuit's peak frequency, bandwidth Q and peak gain
// each stay within `tolerance` (0.01 = 1 %) of the ideal-op-amp circuit's when the op-amp's
// gain is A0 at every frequency (an unlimited Gbw) and its input capacitance `cin` (F), and
// stay so at every higher A0: the DC gain a part needs however fast it is. No value when
// the circuit has no figures to hold.
double RequiredA0(const Circuit& circuit, double tolerance, double cin = 0.0);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_OP_AMP_NEEDS_H

// A SPICE deck of the circuit, for taking a design into a simulator.
#ifndef KORVANE_CALC_EXPORT_NETLIST_H
#define KORVANE_CALC_EXPORT_NETLIST_H

#include <optional>
#include <string>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

struct NetlistSweep {
  double from_hz = kNoValue;
  double to_hz = kNoValue;
  int points = 400;
};

// The deck: nodes `in`, `sum` (the summing node), `inv` (the inverting input) and `out`,
// values as full doubles in SPICE notation, the op-amp as a subcircuit with the A0/Gbw
// single-pole model and its input capacitance from the inverting input to ground (a
// voltage gain of 1e9 without one), an AC source of 1 V at `in`, an .ac sweep by decades
// with at least `points` points over the range and a .print of the output's gain (dB) and
// phase, so `ngspice -b` prints the curve. Lines end with LF.
std::string SpiceNetlist(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const NetlistSweep& sweep);

// A double in SPICE's notation: the shortest digits that read back as the same double, in
// exponent form and without suffix letters (SPICE reads "M" as milli): 4.7e-09 -> "4.7e-09",
// 22000 -> "2.2e+04".
std::string SpiceNumber(double value);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_NETLIST_H

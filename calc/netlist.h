// A SPICE deck of the circuit, for taking a design into a simulator.
#ifndef KORVANE_CALC_NETLIST_H
#define KORVANE_CALC_NETLIST_H

#include <optional>
#include <string>

#include "calc/circuit.h"
#include "calc/response.h"

namespace calc {

struct NetlistSweep {
  double from_hz = kNoValue;
  double to_hz = kNoValue;
  int points = 400;
};

// The deck: nodes `in` and `out`, values as full doubles in SPICE notation, the op-amp as
// a subcircuit with the A0/Gbw single-pole model (an ideal high-gain source without one),
// an AC source of 1 V at `in` and an .ac sweep (decade, points spread to match `points`
// over the range). Lines end with LF.
std::string SpiceNetlist(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const NetlistSweep& sweep);

// A double in SPICE's notation, shortest round-trip digits, no suffix letters
// ("4.7e-09"): SPICE reads "M" as milli, so letters are avoided altogether.
std::string SpiceNumber(double value);

}  // namespace calc

#endif  // KORVANE_CALC_NETLIST_H

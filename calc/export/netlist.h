// A SPICE deck of the circuit, for taking a design into a simulator.
#ifndef KORVANE_CALC_EXPORT_NETLIST_H
#define KORVANE_CALC_EXPORT_NETLIST_H

#include <optional>
#include <string>

#include "calc/analysis/noise.h"
#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

struct NetlistSweep {
  double from_hz = kNoValue;
  double to_hz = kNoValue;
  int points = 400;
};

// What the deck's noise analysis sees besides the resistors: the op-amp's noise and the
// temperature, which sets the resistors' 4kT.
struct NetlistNoise {
  OpAmpNoise op_amp;
  double temperature_c = 25.0;
};

// The deck: nodes `in`, `sum` (the summing node), `inv` (the inverting input) and `out`,
// values in SPICE notation (SpiceNumber), the op-amp as a subcircuit with the A0/Gbw
// single-pole model and its input capacitance (a voltage gain of 1e9 without one), an AC
// source of 1 V at `in`, the temperature as a .temp line, an .ac sweep by decades with at
// least `points` points over the range and a .print of the output's gain (dB) and phase,
// and a .noise analysis over the same range with .prints of the output noise density, the
// input-referred density and both integrated over the range, so `ngspice -b` prints the
// curve and the noise. The noise sweep has at least 50 points a decade for each unit of the
// response's Q, so that ngspice's integral of a narrow peak comes within 0.02 %. The
// op-amp's noise, when it has any, is made of sources that .noise sees: each the noise of a
// resistor carrying a constant current (thermal noise for the white floor, the resistor
// model's flicker noise for 1/f), turned into the voltage in series with the non-inverting
// input or the current into the inverting input by a controlled source. Lines end with LF.
std::string SpiceNetlist(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const NetlistSweep& sweep, const NetlistNoise& noise = {});

// A double in SPICE's notation: rounded to kSpiceDigits significant digits, then the
// shortest digits that read back as that, in exponent form and without suffix letters
// (SPICE reads "M" as milli): 4.7e-09 -> "4.7e-09", 22000 -> "2.2e+04",
// 1.4999999999999492e-08 -> "1.5e-08".
inline constexpr int kSpiceDigits = 12;
std::string SpiceNumber(double value);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_NETLIST_H

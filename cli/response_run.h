// korvane-cli response and netlist: the circuit's frequency response with an ideal and a
// real op-amp, its figures and the op-amp's needs, or its SPICE deck.
#ifndef KORVANE_CLI_RESPONSE_RUN_H
#define KORVANE_CLI_RESPONSE_RUN_H

#include <ostream>
#include <string>

#include "cli/circuit_source.h"
#include "cli/single_output.h"

namespace cli {

// The inputs as typed (UTF-8). An empty gbw means no op-amp curve; empty from and to mean
// two decades either side of the circuit's fo.
struct ResponseInput {
  CircuitOptions circuit;
  std::string gbw, a0 = "100k";
  std::string from, to, points = "400";
  std::string amplitude = "1", tolerance = "1%";
};

// Writes the response in `format`: csv, one row per frequency (frequency_hz, then gain in dB
// and phase in degrees for each curve present: target, ideal, opamp); json, the figures of
// each curve and, with an op-amp, required_gbw_hz and required_slew_v_per_us; text, the
// figures as a table. Warnings and errors go to `errors`. Returns 0 clean, 1 a warning
// or an error.
int RunResponse(const ResponseInput& input, Format format, std::ostream& out, std::ostream& errors);

// Writes the circuit's SPICE deck (with the op-amp when gbw is given, over the same sweep).
int RunNetlist(const ResponseInput& input, std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_RESPONSE_RUN_H

// korvane-cli response and netlist: the response study of the circuit (its curves with an
// ideal and a real op-amp, their figures and the op-amp's needs), or its SPICE deck.
#ifndef KORVANE_CLI_RESPONSE_RUN_H
#define KORVANE_CLI_RESPONSE_RUN_H

#include <ostream>
#include <string>

#include "cli/circuit_source.h"
#include "cli/single_output.h"

namespace cli {

// The inputs as typed (UTF-8). An empty gbw means no op-amp curve; empty from and to mean
// the whole decades about the circuit's fo (calc::DefaultFrequencyGrid); an empty slew checks
// no slew rate.
struct ResponseInput {
  CircuitOptions circuit;
  std::string gbw, a0 = "100k", slew;
  std::string from, to, points = "400";
  std::string amplitude = "1", tolerance = "1%";
};

// Writes the response study in `format`: csv, the curves (calc::ResponseCurvesCsv); json, the
// figures of each curve, with an op-amp required_gbw_hz and required_a0, and
// required_slew_v_per_us; text, the figures as a table and the same requirements. Errors,
// the design's warning and what the op-amp falls short of go to `errors` as "error: ..."
// and "warning: ..." lines. Returns 0 clean, 1 a warning or an error.
int RunResponse(const ResponseInput& input, Format format, std::ostream& out, std::ostream& errors);

// Writes the circuit's SPICE deck (with the op-amp when gbw is given, over the same sweep).
int RunNetlist(const ResponseInput& input, std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_RESPONSE_RUN_H

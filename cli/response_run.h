// korvane-cli response and netlist: the response study of the circuit (its curves with an
// ideal and a real op-amp, their figures and the op-amp's needs), or its SPICE deck.
#ifndef KORVANE_CLI_RESPONSE_RUN_H
#define KORVANE_CLI_RESPONSE_RUN_H

#include <ostream>
#include <string>

#include "cli/circuit_source.h"
#include "cli/op_amp_source.h"
#include "cli/single_output.h"

namespace cli {

// The inputs as typed (UTF-8): the circuit, the op-amp (ReadOpAmpOptions: without a part
// or a GBW no op-amp curve; without a slew rate none is checked), the conditions (the
// amplitude for the slew rate and the headroom, the supply and load for the headroom, the
// temperature for the netlist's noise) and the sweep: empty from and to mean the
// whole decades about the circuit's fo (calc::DefaultFrequencyGrid).
struct ResponseInput : OpAmpOptions, ConditionOptions {
  CircuitOptions circuit;
  std::string from, to, points = "400";
  std::string tolerance = "1%";
};

// Writes the response study in `format`: csv, the curves (calc::ResponseCurvesCsv); json, the
// figures of each curve, with an op-amp required_gbw_hz and required_a0, and
// required_slew_v_per_us, and the headroom (calc::RunHeadroomStudy) under "headroom":
// {max_input_v, limit ("swing" or "slew"), peak_output_v, peak_sum_node_v,
// peak_output_current_a}; text, the figures as a table and the same requirements and
// headroom. Errors, the design's warning, what the op-amp falls short of and the
// headroom's warnings go to `errors` as "error: ..." and "warning: ..." lines. Returns 0
// clean, 1 a warning or an error, 2 an unknown op-amp.
int RunResponse(const ResponseInput& input, Format format, std::ostream& out, std::ostream& errors);

// Writes the circuit's SPICE deck (with the op-amp when there is one, its noise and the
// temperature, over the same sweep).
int RunNetlist(const ResponseInput& input, std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_RESPONSE_RUN_H

// korvane-cli opamps: the catalogue's parts with their figures and, for a circuit, whether
// each meets its needs (calc::RunSuitabilityStudy); or their names alone.
#ifndef KORVANE_CLI_OPAMPS_RUN_H
#define KORVANE_CLI_OPAMPS_RUN_H

#include <ostream>
#include <string>

#include "cli/circuit_source.h"
#include "cli/op_amp_source.h"
#include "cli/single_output.h"

namespace cli {

struct OpAmpsInput : ConditionOptions {
  bool names = false;        // the names alone, one a line
  bool has_circuit = false;  // without a circuit, the figures alone
  CircuitOptions circuit;
  std::string tolerance = "1%";
};

// Writes the parts in catalogue order in `format`: text, a table of the figures and each
// need's pass, fail or unknown; json, {"parts": [{name, maker, the figures in SI units
// (null where blank), "needs": {need: {"verdict", "required"}}, "suitable"}]}; csv, one
// row a part. The catalogue's warnings go to `errors` without changing the exit status: 0,
// or 1 for a circuit or setting that cannot be studied.
int RunOpAmps(const OpAmpsInput& input, Format format, std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_OPAMPS_RUN_H

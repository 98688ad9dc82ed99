// Where a subcommand's circuit comes from: the parts as typed (--r1 .. --c2, as for
// analyze) or, after --design, the design's result for the targets as typed.
#ifndef KORVANE_CLI_CIRCUIT_SOURCE_H
#define KORVANE_CLI_CIRCUIT_SOURCE_H

#include <optional>
#include <string>

#include "calc/circuit/circuit.h"
#include "cli/text_commands.h"

namespace cli {

struct CircuitOptions {
  bool design = false;
  DesignInput design_input;
  AnalysisInput parts;
};

// The circuit to work on, or why there is none; a design may also leave a warning beside
// its circuit (its Q missed). With --design, the wanted transfer function as typed (an
// empty H is 1) is the target.
struct CircuitSource {
  std::optional<calc::Circuit> circuit;
  std::optional<calc::TransferFunction> target;
  std::string warning, error;
};
CircuitSource ReadCircuitSource(const CircuitOptions& options);

}  // namespace cli

#endif  // KORVANE_CLI_CIRCUIT_SOURCE_H

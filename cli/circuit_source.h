// Where a subcommand's circuit comes from: the parts as typed (--r1 .. --c2, as for
// analyze) or, after --design, the design's result for the targets as typed.
#ifndef KORVANE_CLI_CIRCUIT_SOURCE_H
#define KORVANE_CLI_CIRCUIT_SOURCE_H

#include <optional>

#include "calc/circuit/circuit.h"
#include "calc/text/diagnostic.h"
#include "calc/text/outcome.h"
#include "cli/text_commands.h"

namespace cli {

struct CircuitOptions {
  bool design = false;
  DesignInput design_input;
  AnalysisInput parts;
};

// The circuit to work on. With --design, the wanted transfer function as typed (H read by
// GainOrUnity) is the target, and the design may leave its own warning beside the circuit
// (kDesignWarning: its Q missed).
struct CircuitSource {
  calc::Circuit circuit;
  std::optional<calc::TransferFunction> target;
  std::optional<calc::Diagnostic> warning;
};

// The circuit, or why there is none: a text that is not UTF-8 (kNotUtf8), or the design's
// own warning or error when it gives no circuit (kDesignWarning, kDesignError).
calc::Outcome<CircuitSource> ReadCircuitSource(const CircuitOptions& options);

}  // namespace cli

#endif  // KORVANE_CLI_CIRCUIT_SOURCE_H

// The options every subcommand shares: the circuit (--r1 .. --c2), the design's inputs
// (--fo .. --c2), the output format and the batch switch.
#ifndef KORVANE_CLI_COMMAND_OPTIONS_H
#define KORVANE_CLI_COMMAND_OPTIONS_H

#include <CLI/CLI.hpp>

#include "cli/single_output.h"
#include "cli/text_commands.h"

namespace cli {

struct RunOptions {
  Format format = Format::kText;
  bool batch = false;
};

// --format text|json|csv and --batch.
void AddRunOptions(CLI::App& command, RunOptions& options);

// --r1, --r2, --r3, --c1, --c2 as typed in the window's component fields.
void AddCircuitOptions(CLI::App& command, AnalysisInput& input);
// Throws CLI::RequiredError naming the first of --r1, --r3, --c1, --c2 not given.
void RequireCircuitOptions(const CLI::App& command);

// --fo, --q, --h, --zref, --series-r, --series-c and --c2 (given: Lock ticked with it),
// defaulting to the window's start-up texts.
void AddDesignOptions(CLI::App& command, DesignInput& input);

// The inputs by their batch column names, for JSON and CSV output.
NamedInputs NamedDesignInputs(const DesignInput& input);
NamedInputs NamedCircuitInputs(const AnalysisInput& input);

}  // namespace cli

#endif  // KORVANE_CLI_COMMAND_OPTIONS_H

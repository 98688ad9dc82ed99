// The options every subcommand shares: the circuit (--r1 .. --c2), the design's inputs
// (--fo .. --c2), the output format and the batch switch.
#ifndef KORVANE_CLI_SUBCOMMANDS_COMMAND_OPTIONS_H
#define KORVANE_CLI_SUBCOMMANDS_COMMAND_OPTIONS_H

#include <CLI/CLI.hpp>
#include <string_view>

#include "cli/circuit_source.h"
#include "cli/single_output.h"
#include "cli/text_commands.h"

namespace cli {

struct RunOptions {
  Format format = Format::kText;
  bool batch = false;
};

// --format text|json|csv and --batch.
void AddRunOptions(CLI::App& command, RunOptions& options);
// --format text|json|csv alone, for commands without a batch.
void AddFormatOption(CLI::App& command, Format& format);

// --r1, --r2, --r3, --c1, --c2 as typed in the window's component fields; the help of the
// parts a circuit needs says `required` in brackets.
void AddCircuitOptions(CLI::App& command, AnalysisInput& input,
                       std::string_view required = "required");
// Throws CLI::RequiredError naming the first of --r1, --r3, --c1, --c2 not given.
void RequireCircuitOptions(const CLI::App& command);

// --fo, --q, --h, --zref, --series-r, --series-c and --c2 (given: Lock ticked with it),
// defaulting to the window's start-up texts.
void AddDesignOptions(CLI::App& command, DesignInput& input);
// The same without --c2, for commands where --c2 also names the circuit's C2.
void AddDesignTargetOptions(CLI::App& command, DesignInput& input);

// --design, --r1 .. --c2 and --fo .. --series-c; with --design, --c2 is the design's kept C2.
void AddCircuitSourceOptions(CLI::App& command, CircuitOptions& options);
// After parsing: refuses options of the other way of giving the circuit (they would be
// ignored silently) and missing parts (CLI::ValidationError, CLI::RequiredError), and
// turns --c2 with --design into the Lock box.
void CheckCircuitSourceOptions(const CLI::App& command, CircuitOptions& options);

// The inputs by their batch column names, for JSON and CSV output.
NamedInputs NamedDesignInputs(const DesignInput& input);
NamedInputs NamedCircuitInputs(const AnalysisInput& input);

}  // namespace cli

#endif  // KORVANE_CLI_SUBCOMMANDS_COMMAND_OPTIONS_H

// The op-amp's options (--opamp, --gbw .. --swing) and the stage's conditions (--supply ..
// --band-high), shared by response, netlist, tolerance, noise and opamps.
#ifndef KORVANE_CLI_SUBCOMMANDS_OP_AMP_OPTIONS_H
#define KORVANE_CLI_SUBCOMMANDS_OP_AMP_OPTIONS_H

#include <CLI/CLI.hpp>

#include "cli/op_amp_source.h"

namespace cli {

// --opamp and every typed figure.
void AddOpAmpOptions(CLI::App& command, OpAmpOptions& options);
// --opamp and the figures of the op-amp's model alone (--gbw, --a0, --cin), for commands
// that use nothing else of it.
void AddOpAmpModelOptions(CLI::App& command, OpAmpOptions& options);

// Each condition's option, added one by one: commands take those they use.
void AddSupplyOption(CLI::App& command, ConditionOptions& options);
void AddAmplitudeOption(CLI::App& command, ConditionOptions& options, const char* what);
void AddLoadOption(CLI::App& command, ConditionOptions& options);
void AddTemperatureOption(CLI::App& command, ConditionOptions& options);
void AddBandOptions(CLI::App& command, ConditionOptions& options);

}  // namespace cli

#endif  // KORVANE_CLI_SUBCOMMANDS_OP_AMP_OPTIONS_H

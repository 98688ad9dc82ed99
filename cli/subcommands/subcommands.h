// Each subcommand adds itself to the application; its callback leaves the exit code.
#ifndef KORVANE_CLI_SUBCOMMANDS_SUBCOMMANDS_H
#define KORVANE_CLI_SUBCOMMANDS_SUBCOMMANDS_H

#include <CLI/CLI.hpp>

namespace cli {

void AddDesignSubcommand(CLI::App& app, int& exit_code);
void AddAnalyzeSubcommand(CLI::App& app, int& exit_code);
void AddToleranceSubcommand(CLI::App& app, int& exit_code);
void AddResponseSubcommand(CLI::App& app, int& exit_code);
void AddNetlistSubcommand(CLI::App& app, int& exit_code);
void AddNoiseSubcommand(CLI::App& app, int& exit_code);
void AddOpAmpsSubcommand(CLI::App& app, int& exit_code);
void AddOptimizeSubcommand(CLI::App& app, int& exit_code);

}  // namespace cli

#endif  // KORVANE_CLI_SUBCOMMANDS_SUBCOMMANDS_H

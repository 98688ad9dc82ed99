#include <iostream>
#include <memory>

#include "cli/opamps_run.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/op_amp_options.h"
#include "cli/subcommands/subcommands.h"

namespace cli {

void AddOpAmpsSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    OpAmpsInput input;
    Format format = Format::kText;
  };
  auto settings = std::make_shared<Settings>();
  OpAmpsInput& input = settings->input;
  CLI::App* command = app.add_subcommand(
      "opamps",
      "The op-amp catalogue: each part's figures and, for a circuit, which needs it meets");
  command->add_flag("--names", input.names, "The parts' names alone, one a line");
  AddCircuitSourceOptions(*command, input.circuit);
  AddSupplyOption(*command, input);
  AddAmplitudeOption(*command, input, "Input amplitude in volts (peak), for slew and swing");
  AddTemperatureOption(*command, input);
  AddBandOptions(*command, input);
  command
      ->add_option("--tolerance", input.tolerance,
                   "How far the op-amp may move each figure, for the required GBW and A0")
      ->capture_default_str();
  AddFormatOption(*command, settings->format);
  command->footer(
      "The catalogue: the shipped opamps.csv and $XDG_CONFIG_HOME/korvane/opamps.csv\n"
      "(~/.config/korvane/opamps.csv), whose parts add to and override the shipped ones.\n"
      "Without a circuit, the figures alone. With one (--r1 .. --c2 or --design), each need\n"
      "is pass, fail or unknown (a blank figure): gbw and a0, the lowest that keep the\n"
      "figures within --tolerance with the part's own A0 and Cin; slew, at the peak for\n"
      "--amplitude; swing, the output's peak within --supply less the part's swing (and\n"
      "--supply within its range); noise, the op-amp adding no more noise power over the\n"
      "band than the resistors (at most +3 dB).\n"
      "json: {\"parts\": [{name, maker, figures, \"needs\": {need: {verdict, required}},\n"
      "\"suitable\"}]}; csv: one row a part, RFC 4180, CR LF.");
  command->callback([settings, command, &exit_code] {
    OpAmpsInput& input = settings->input;
    input.has_circuit = input.circuit.design;
    for (const char* name : {"--r1", "--r2", "--r3", "--c1", "--c2"}) {
      if (command->count(name) > 0) input.has_circuit = true;
    }
    if (input.has_circuit && !input.names) CheckCircuitSourceOptions(*command, input.circuit);
    exit_code = RunOpAmps(input, settings->format, std::cout, std::cerr);
  });
}

}  // namespace cli

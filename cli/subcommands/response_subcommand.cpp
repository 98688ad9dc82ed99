#include <iostream>
#include <memory>

#include "cli/response_run.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/subcommands.h"

namespace cli {
namespace {

// The options `response` and `netlist` share: the circuit, the op-amp and the sweep.
void AddResponseOptions(CLI::App& command, ResponseInput& input) {
  AddCircuitSourceOptions(command, input.circuit);
  command.add_option("--gbw", input.gbw,
                     "Op-amp gain-bandwidth product in Hz (without it: no op-amp curve)");
  command.add_option("--a0", input.a0, "Op-amp DC gain")->capture_default_str();
  command.add_option("--from", input.from,
                     "Lowest frequency (default: the decade nearest fo / 100)");
  command.add_option("--to", input.to, "Highest frequency (default: the decade nearest fo x 100)");
  command
      .add_option("--points", input.points,
                  "Frequencies, spaced logarithmically, both ends included; over the default "
                  "range rounded up so that every decade is one (400: 401)")
      ->capture_default_str();
}

}  // namespace

void AddResponseSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    ResponseInput input;
    Format format = Format::kText;
  };
  auto settings = std::make_shared<Settings>();
  CLI::App* command = app.add_subcommand(
      "response", "The frequency response: target, ideal op-amp and real op-amp curves");
  AddResponseOptions(*command, settings->input);
  command->add_option("--slew", settings->input.slew,
                      "Op-amp slew rate in V/us: warns when the circuit needs more");
  command
      ->add_option("--amplitude", settings->input.amplitude,
                   "Input amplitude in volts (peak), for the required slew rate")
      ->capture_default_str();
  command
      ->add_option("--tolerance", settings->input.tolerance,
                   "How far the op-amp may move each figure from the ideal circuit's, for the "
                   "required GBW and A0, in per cent (a bare number too: 1 = 1%)")
      ->capture_default_str();
  AddFormatOption(*command, settings->format);
  command->footer(
      "The target curve (the wanted fo, Q, H) comes with --design; its figures are exact,\n"
      "from the formula. The required GBW is the lowest at which the peak, Q, peak gain,\n"
      "bandwidth and both -3 dB frequencies all stay within --tolerance of the ideal\n"
      "circuit's, and stay so at every higher GBW; the required A0 the same with an unlimited\n"
      "GBW. When A0 alone misses the tolerance, no GBW will do: required_gbw_hz is null and a\n"
      "warning names the A0 needed. The required slew rate is taken at the peak of the\n"
      "circuit that will be built: the opamp curve with --gbw, the ideal curve without.\n"
      "What the op-amp falls short of is written to standard error as a warning (exit 1).\n"
      "csv: RFC 4180, CR LF line ends: frequency_hz, then <curve>_gain_db and\n"
      "<curve>_phase_deg for target, ideal and opamp (absent curves left out); phase in\n"
      "degrees in (-180, 180].\n"
      "json: per curve {peak_hz, peak_gain_db, low_3db_hz, high_3db_hz, bandwidth_hz,\n"
      "q_bandwidth, phase_at_peak_deg}; with --gbw also required_gbw_hz and required_a0;\n"
      "required_slew_v_per_us.");
  command->callback([settings, command, &exit_code] {
    CheckCircuitSourceOptions(*command, settings->input.circuit);
    exit_code = RunResponse(settings->input, settings->format, std::cout, std::cerr);
  });
}

void AddNetlistSubcommand(CLI::App& app, int& exit_code) {
  auto input = std::make_shared<ResponseInput>();
  CLI::App* command =
      app.add_subcommand("netlist", "The circuit as a SPICE deck with an AC sweep (ngspice -b)");
  AddResponseOptions(*command, *input);
  command->footer(
      "Nodes in, sum, inv and out; the op-amp is a subcircuit with the --a0/--gbw single pole\n"
      "(a gain of 1e9 without --gbw). Values to 12 significant digits in exponent form\n"
      "(1.5e-08), without suffix letters: SPICE reads M as milli.");
  command->callback([input, command, &exit_code] {
    CheckCircuitSourceOptions(*command, input->circuit);
    exit_code = RunNetlist(*input, std::cout, std::cerr);
  });
}

}  // namespace cli

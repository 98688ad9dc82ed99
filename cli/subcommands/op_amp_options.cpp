#include "cli/subcommands/op_amp_options.h"

namespace cli {

void AddOpAmpModelOptions(CLI::App& command, OpAmpOptions& options) {
  command
      .add_option("--opamp", options.opamp,
                  "An op-amp of the catalogue by name ('korvane-cli opamps --names'); the "
                  "figures typed beside it take the place of its own")
      ->type_name("NAME");
  command.add_option("--gbw", options.gbw,
                     "Op-amp gain-bandwidth product in Hz (without it or --opamp: an ideal "
                     "op-amp)");
  command.add_option("--a0", options.a0, "Op-amp DC gain in V/V")->default_str(kDefaultA0);
  command.add_option("--cin", options.cin,
                     "Op-amp input capacitance in F, differential plus common-mode (default: 0)");
}

void AddOpAmpOptions(CLI::App& command, OpAmpOptions& options) {
  AddOpAmpModelOptions(command, options);
  command.add_option("--en", options.en,
                     "Op-amp voltage noise in V/rtHz, white (\"18n\"; default: none)");
  command.add_option("--en-corner", options.en_corner, "Its 1/f corner in Hz (default: 0, white)");
  command.add_option("--in", options.in,
                     "Op-amp current noise in A/rtHz, white (\"10f\"; default: none)");
  command.add_option("--in-corner", options.in_corner, "Its 1/f corner in Hz (default: 0, white)");
  command.add_option("--slew", options.slew, "Op-amp slew rate in V/us (default: no slew limit)");
  command.add_option("--swing", options.swing,
                     "How near the output gets to each rail, in V (default: rail to rail)");
}

void AddSupplyOption(CLI::App& command, ConditionOptions& options) {
  command.add_option("--supply", options.supply, "Total supply span in V (30: +-15 V)")
      ->capture_default_str();
}

void AddAmplitudeOption(CLI::App& command, ConditionOptions& options, const char* what) {
  command.add_option("--amplitude", options.amplitude, what)->capture_default_str();
}

void AddLoadOption(CLI::App& command, ConditionOptions& options) {
  command.add_option("--load", options.load, "Load from the output to ground, in ohms")
      ->capture_default_str();
}

void AddTemperatureOption(CLI::App& command, ConditionOptions& options) {
  command
      .add_option("--temperature", options.temperature,
                  "Temperature in degrees Celsius, for the resistors' thermal noise")
      ->capture_default_str();
}

void AddBandOptions(CLI::App& command, ConditionOptions& options) {
  command.add_option("--band-low", options.band_low,
                     "Lower end of the noise band in Hz (default: fo / 10)");
  command.add_option("--band-high", options.band_high,
                     "Upper end of the noise band in Hz (default: 10 fo)");
}

}  // namespace cli

#include <iostream>
#include <memory>

#include "cli/noise_run.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/op_amp_options.h"
#include "cli/subcommands/subcommands.h"

namespace cli {

void AddNoiseSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    NoiseInput input;
    Format format = Format::kText;
  };
  auto settings = std::make_shared<Settings>();
  NoiseInput& input = settings->input;
  CLI::App* command = app.add_subcommand(
      "noise",
      "The stage's noise: densities, the band's RMS and each source's share, SNR and "
      "dynamic range");
  AddCircuitSourceOptions(*command, input.circuit);
  AddOpAmpOptions(*command, input);
  AddTemperatureOption(*command, input);
  command->add_option("--from", input.from,
                      "Lowest frequency of the densities (default: fo / 100)");
  command->add_option("--to", input.to, "Highest frequency of the densities (default: fo x 100)");
  command->add_option("--points", input.points, "Frequencies, spaced logarithmically")
      ->capture_default_str();
  AddBandOptions(*command, input);
  AddSupplyOption(*command, input);
  AddAmplitudeOption(*command, input, "Input amplitude in volts (peak), for the SNR");
  AddLoadOption(*command, input);
  AddFormatOption(*command, settings->format);
  command->footer(
      "Sources: each resistor's thermal noise 4kTR (k = 1.380649e-23 J/K), the op-amp's\n"
      "voltage noise en^2 (1 + fc/f) and its current noise in^2 (1 + fci/f) at the inverting\n"
      "input, carried to the output by the response's node equations and op-amp model.\n"
      "Quantities in SI base units with SI prefixes (\"18n\", \"10f\", \"7p\"), --slew in V/us.\n"
      "The SNR is the output signal's RMS at the peak over the band's noise RMS; the dynamic\n"
      "range the largest unclipped output sine's RMS (the supply less --swing at each rail,\n"
      "centred) over it, both in dB.\n"
      "csv: RFC 4180, CR LF, columns frequency_hz, total_v_rthz, r1_v_rthz, r2_v_rthz,\n"
      "r3_v_rthz, en_v_rthz, in_v_rthz (absent sources left out).\n"
      "json: output_rms_v, band_hz [low, high], noise_bandwidth_hz, density_at_peak_v_rthz,\n"
      "input_referred_at_peak_v_rthz, contributions {source: {rms_v, share}}, snr_db,\n"
      "dynamic_range_db. An unknown --opamp exits 2.");
  command->callback([settings, command, &exit_code] {
    CheckCircuitSourceOptions(*command, settings->input.circuit);
    exit_code = RunNoise(settings->input, settings->format, std::cout, std::cerr);
  });
}

}  // namespace cli

// korvane-cli noise: the stage's noise (calc::RunNoiseStudy) from the texts a user types.
#ifndef KORVANE_CLI_NOISE_RUN_H
#define KORVANE_CLI_NOISE_RUN_H

#include <ostream>
#include <string>

#include "cli/circuit_source.h"
#include "cli/op_amp_source.h"
#include "cli/single_output.h"

namespace cli {

// The inputs as typed (UTF-8): the circuit, the op-amp, the conditions and the frequencies
// of the densities (empty from and to: two decades either side of fo).
struct NoiseInput : OpAmpOptions, ConditionOptions {
  CircuitOptions circuit;
  std::string from, to, points = "400";
};

// Writes the noise in `format`: csv, the densities (calc::NoiseDensitiesCsv); json,
// {output_rms_v, band_hz: [low, high], noise_bandwidth_hz, density_at_peak_v_rthz,
// input_referred_at_peak_v_rthz, contributions: {source: {rms_v, share}}, snr_db,
// dynamic_range_db} (absent sources left out, a dynamic range without room null); text,
// the same as a table. Errors and the design's warning go to `errors`. Returns 0 clean, 1
// a warning or an error, 2 an unknown op-amp.
int RunNoise(const NoiseInput& input, Format format, std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_NOISE_RUN_H

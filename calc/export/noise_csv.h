// The noise densities as CSV, the same file from the window's 雑音 page and from
// `korvane-cli noise --format csv`.
#ifndef KORVANE_CALC_EXPORT_NOISE_CSV_H
#define KORVANE_CALC_EXPORT_NOISE_CSV_H

#include <string>

#include "calc/analysis/noise.h"

namespace calc {

// A header frequency_hz,total_v_rthz, then <source>_v_rthz for each present source in the
// order r1, r2, r3, en, in (kNoiseSourceNames), and one row per frequency: shortest
// round-trip numbers, RFC 4180, CR LF.
std::string NoiseDensitiesCsv(const NoiseAnalysis& noise);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_NOISE_CSV_H

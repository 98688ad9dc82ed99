#include "cli/noise_run.h"

#include <cmath>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "calc/export/noise_csv.h"
#include "calc/studies/setting_texts.h"
#include "calc/studies/stage_study.h"
#include "calc/text/quantity_format.h"
#include "cli/utf8.h"

namespace cli {
namespace {

// The frequencies of the densities: --from, --to (positive) and --points (2 to the most).
calc::Outcome<calc::FrequencyGrid> ReadGrid(const NoiseInput& input) {
  calc::FrequencyGrid grid;
  struct Option {
    std::string_view name;
    const std::string* text;
    double* value;
  };
  double points = 0;
  const Option options[] = {{"from", &input.from, &grid.from_hz},
                            {"to", &input.to, &grid.to_hz},
                            {"points", &input.points, &points}};
  for (const Option& option : options) {
    if (option.text->empty()) continue;
    const calc::Outcome<std::u16string> utf16 = DecodeInput(option.name, *option.text);
    if (!utf16) return utf16.diagnostic();
    const calc::Outcome<double> value = calc::ParsePositiveQuantity(*utf16);
    if (!value) {
      return calc::Diagnostic{calc::Problem::kOptionNotPositive,
                              {std::string(option.name), *option.text}};
    }
    *option.value = *value;
  }
  if (!(points >= 2 && points <= calc::kMostResponsePoints && points == std::floor(points))) {
    return calc::Diagnostic{calc::Problem::kPointCount,
                            {std::to_string(calc::kMostResponsePoints)}};
  }
  grid.points = static_cast<int>(points);
  return grid;
}

void WriteJson(const calc::NoiseAnalysis& noise, std::ostream& out) {
  nlohmann::ordered_json json;
  json["output_rms_v"] = noise.output_rms_v;
  json["band_hz"] = {noise.band_low_hz, noise.band_high_hz};
  json["noise_bandwidth_hz"] = noise.noise_bandwidth_hz;
  json["density_at_peak_v_rthz"] = noise.density_at_peak_v_rthz;
  json["input_referred_at_peak_v_rthz"] = noise.input_referred_at_peak_v_rthz;
  nlohmann::ordered_json contributions = nlohmann::ordered_json::object();
  for (int s = 0; s < calc::kNoiseSourceCount; ++s) {
    if (!noise.present[s]) continue;
    contributions[std::string(calc::kNoiseSourceNames[s])] = {{"rms_v", noise.source_rms_v[s]},
                                                              {"share", noise.share[s]}};
  }
  json["contributions"] = contributions;
  json["snr_db"] = noise.snr_db;
  json["dynamic_range_db"] = noise.dynamic_range_db;  // NaN is written as null
  out << json.dump(2) << '\n';
}

std::string Shown(double value) { return Utf16ToUtf8(calc::FormatDisplayed(value)); }
std::string Decibels(double value) { return Utf16ToUtf8(calc::FormatFixed(value, 0, 2)); }

void WriteText(const calc::NoiseAnalysis& noise, std::ostream& out) {
  out << "output noise: " << Shown(noise.output_rms_v) << "V rms from " << Shown(noise.band_low_hz)
      << "Hz to " << Shown(noise.band_high_hz) << "Hz\n";
  out << "noise bandwidth: " << Shown(noise.noise_bandwidth_hz) << "Hz\n";
  out << "density at the peak (" << Shown(noise.peak_hz)
      << "Hz): " << Shown(noise.density_at_peak_v_rthz) << "V/rtHz out, "
      << Shown(noise.input_referred_at_peak_v_rthz) << "V/rtHz at the input\n";
  out << std::left << std::setw(8) << "source" << std::right << std::setw(12) << "rms (V)"
      << std::setw(10) << "share" << '\n';
  for (int s = 0; s < calc::kNoiseSourceCount; ++s) {
    if (!noise.present[s]) continue;
    out << std::left << std::setw(8) << calc::kNoiseSourceNames[s] << std::right << std::setw(12)
        << Shown(noise.source_rms_v[s]) << std::setw(8)
        << Utf16ToUtf8(calc::FormatFixed(noise.share[s] * 100.0, 0, 2)) << " %\n";
  }
  out << "SNR: " << Decibels(noise.snr_db) << " dB\n";
  out << "dynamic range: "
      << (std::isnan(noise.dynamic_range_db) ? std::string("-") : Decibels(noise.dynamic_range_db))
      << " dB\n";
}

}  // namespace

int RunNoise(const NoiseInput& input, Format format, std::ostream& out, std::ostream& errors) {
  const calc::Outcome<CircuitSource> source = ReadCircuitSource(input.circuit);
  if (!source) {
    WriteDiagnostic(source.diagnostic(), errors);
    return 1;
  }
  if (source->warning) WriteDiagnostic(*source->warning, errors);
  const calc::Outcome<calc::StageOpAmp> op_amp = ReadOpAmpOptions(input, errors);
  if (!op_amp) {
    WriteDiagnostic(op_amp.diagnostic(), errors);
    return IsUsageError(op_amp.diagnostic()) ? 2 : 1;
  }
  const calc::Outcome<calc::StageConditions> conditions = ReadConditionOptions(input);
  if (!conditions) {
    WriteDiagnostic(conditions.diagnostic(), errors);
    return 1;
  }
  const calc::Outcome<calc::FrequencyGrid> grid = ReadGrid(input);
  if (!grid) {
    WriteDiagnostic(grid.diagnostic(), errors);
    return 1;
  }
  const calc::StageInputs stage{source->circuit, *op_amp, *conditions, *grid};
  const std::vector<double> frequencies = calc::StageFrequencies(stage);
  // A grid the settings leave empty is the ends' fault where the circuit has an fo; without
  // one the study says what is wrong with the circuit.
  if (frequencies.empty() && std::isfinite(calc::NaturalFrequency(source->circuit))) {
    WriteDiagnostic({calc::Problem::kFrequencyOrder}, errors);
    return 1;
  }
  const calc::Outcome<calc::NoiseAnalysis> noise = calc::RunNoiseStudy(stage);
  if (!noise) {
    WriteDiagnostic(noise.diagnostic(), errors);
    return 1;
  }
  switch (format) {
    case Format::kCsv:
      out << calc::NoiseDensitiesCsv(*noise);
      break;
    case Format::kJson:
      WriteJson(*noise, out);
      break;
    case Format::kText:
      WriteText(*noise, out);
      break;
  }
  out.flush();
  return source->warning ? 1 : 0;
}

}  // namespace cli

#include "calc/analysis/noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/analysis/stage_checks.h"
#include "calc/analysis/stage_transfers.h"
#include "calc/numeric/integrate.h"

namespace calc {
namespace {

// The integrals are taken over ln f, on which every power law is smooth; the integration
// stops at this relative error bound, far below any digit shown.
constexpr double kIntegrationTolerance = 1e-10;
// Pieces to start from per decade, besides the points put on the response's peak and its
// -3 dB frequencies: enough that no feature narrower than the peak hides between nodes.
constexpr double kPiecesPerDecade = 2.0;
// The noise bandwidth's integral runs this many decades either side of fo; the tails beyond
// add less than 1e-8 of it (|H|^2 falls as f^2 below and as 1/f^2 or faster above).
constexpr double kBandwidthDecades = 8.0;

bool Positive(double value) { return value > 0 && std::isfinite(value); }
bool ZeroOrMore(double value) { return value >= 0 && std::isfinite(value); }

// The points in ln f where the integration over [low_hz, high_hz] starts its pieces: the
// ends, every `features_hz` inside, and even steps of at most 1 / kPiecesPerDecade decade.
std::vector<double> StartingPoints(double low_hz, double high_hz,
                                   std::initializer_list<double> features_hz) {
  const double from = std::log(low_hz), to = std::log(high_hz);
  const double decades = (to - from) / std::numbers::ln10;
  const int steps = std::max(1, static_cast<int>(std::ceil(decades * kPiecesPerDecade)));
  std::vector<double> points;
  points.reserve(static_cast<std::size_t>(steps) + 1 + features_hz.size());
  for (int i = 0; i < steps; ++i) points.push_back(from + (to - from) * i / steps);
  points.push_back(to);
  for (const double feature : features_hz) {
    if (feature > low_hz && feature < high_hz) points.push_back(std::log(feature));
  }
  std::sort(points.begin(), points.end());
  return points;
}

double RatioDb(double numerator, double denominator) {
  return 20.0 * std::log10(numerator / denominator);
}

std::optional<Diagnostic> CheckSettings(const OpAmpNoise& noise, const NoiseSettings& settings) {
  if (!(Positive(kZeroCelsius + settings.temperature_c))) {
    return Diagnostic{Problem::kNoiseTemperature, {}};
  }
  if (!ZeroOrMore(noise.en_v_rthz) || !ZeroOrMore(noise.en_corner_hz) ||
      !ZeroOrMore(noise.in_a_rthz) || !ZeroOrMore(noise.in_corner_hz)) {
    return Diagnostic{Problem::kNoiseFigures, {}};
  }
  if (!Positive(settings.input_amplitude_v)) return Diagnostic{Problem::kInputAmplitude, {}};
  return std::nullopt;
}

}  // namespace

std::array<bool, kNoiseSourceCount> NoiseSourcesOf(const Circuit& circuit,
                                                   const OpAmpNoise& op_amp_noise) {
  return {true, circuit.HasR2(), true, op_amp_noise.en_v_rthz > 0, op_amp_noise.in_a_rthz > 0};
}

NoiseBySource OutputNoisePowers(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                const OpAmpNoise& op_amp_noise, double temperature_k,
                                double frequency_hz) {
  const StageTransfers t = ComputeStageTransfers(circuit, op_amp, frequency_hz);
  const double four_kt = 4.0 * kBoltzmann * temperature_k;
  const double from_summing = std::norm(t.per_summing_current);
  const double from_inverting = std::norm(t.per_inverting_current);
  NoiseBySource powers{};
  powers[kNoiseR1] = four_kt / circuit.R1 * from_summing;
  if (circuit.HasR2()) powers[kNoiseR2] = four_kt / circuit.R2 * from_summing;
  powers[kNoiseR3] = four_kt / circuit.R3 * from_inverting;
  const double en = op_amp_noise.en_v_rthz, in = op_amp_noise.in_a_rthz;
  if (en > 0) {
    powers[kNoiseEn] =
        en * en * (1.0 + op_amp_noise.en_corner_hz / frequency_hz) * std::norm(t.per_input_voltage);
  }
  if (in > 0) {
    powers[kNoiseIn] = in * in * (1.0 + op_amp_noise.in_corner_hz / frequency_hz) * from_inverting;
  }
  return powers;
}

Outcome<NoiseAnalysis> AnalyzeNoise(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                    const OpAmpNoise& op_amp_noise, const NoiseSettings& settings,
                                    std::span<const double> frequencies_hz) {
  if (auto fault = CheckStage(circuit, op_amp)) return *fault;
  if (auto fault = CheckSettings(op_amp_noise, settings)) return *fault;
  if (auto fault = CheckFrequencies(frequencies_hz)) return *fault;
  NoiseAnalysis a;
  const double fo = NaturalFrequency(circuit);
  a.band_low_hz = std::isnan(settings.band_low_hz) ? fo / 10 : settings.band_low_hz;
  a.band_high_hz = std::isnan(settings.band_high_hz) ? fo * 10 : settings.band_high_hz;
  if (!Positive(a.band_low_hz) || !Positive(a.band_high_hz) || !(a.band_low_hz < a.band_high_hz)) {
    return Diagnostic{Problem::kNoiseBand, {}};
  }
  const Outcome<ResponseFigures> figures = MeasurePeak(circuit, op_amp);
  if (!figures) return figures.diagnostic();

  a.temperature_k = kZeroCelsius + settings.temperature_c;
  a.present = NoiseSourcesOf(circuit, op_amp_noise);
  const auto powers_at = [&](double f) {
    return OutputNoisePowers(circuit, op_amp, op_amp_noise, a.temperature_k, f);
  };
  const auto total_of = [](const NoiseBySource& powers) {
    double total = 0.0;
    for (const double p : powers) total += p;
    return total;
  };

  const std::size_t count = frequencies_hz.size();
  a.frequencies_hz.assign(frequencies_hz.begin(), frequencies_hz.end());
  a.total_v_rthz.reserve(count);
  a.input_referred_v_rthz.reserve(count);
  for (int s = 0; s < kNoiseSourceCount; ++s) {
    if (a.present[s]) a.source_v_rthz[s].reserve(count);
  }
  for (const double f : frequencies_hz) {
    const NoiseBySource powers = powers_at(f);
    for (int s = 0; s < kNoiseSourceCount; ++s) {
      if (a.present[s]) a.source_v_rthz[s].push_back(std::sqrt(powers[s]));
    }
    const double total = std::sqrt(total_of(powers));
    a.total_v_rthz.push_back(total);
    a.input_referred_v_rthz.push_back(total / std::abs(CircuitResponse(circuit, op_amp, f)));
  }

  // The band's noise power, source by source: the integral of each density squared.
  const std::vector<double> band_points = StartingPoints(
      a.band_low_hz, a.band_high_hz, {figures->peak_hz, figures->low_3db_hz, figures->high_3db_hz});
  const VectorIntegral<kNoiseSourceCount> band = IntegrateAdaptive<kNoiseSourceCount>(
      [&](double x) {
        const double f = std::exp(x);
        NoiseBySource powers = powers_at(f);
        for (double& p : powers) p *= f;  // df = f dx
        return powers;
      },
      band_points, kIntegrationTolerance);
  const double band_power = total_of(band.value);
  a.output_rms_v = std::sqrt(band_power);
  a.relative_error = band.error / band_power;
  for (int s = 0; s < kNoiseSourceCount; ++s) {
    a.source_rms_v[s] = std::sqrt(band.value[s]);
    a.share[s] = band.value[s] / band_power;
  }

  const double peak_gain = std::abs(CircuitResponse(circuit, op_amp, figures->peak_hz));
  const double reach = std::pow(10.0, kBandwidthDecades);
  const std::vector<double> all_points = StartingPoints(
      fo / reach, fo * reach, {figures->peak_hz, figures->low_3db_hz, figures->high_3db_hz});
  const VectorIntegral<1> gain_power = IntegrateAdaptive<1>(
      [&](double x) {
        const double f = std::exp(x);
        return std::array<double, 1>{std::norm(CircuitResponse(circuit, op_amp, f)) * f};
      },
      all_points, kIntegrationTolerance);
  a.noise_bandwidth_hz = gain_power.value[0] / (peak_gain * peak_gain);

  a.peak_hz = figures->peak_hz;
  a.density_at_peak_v_rthz = std::sqrt(total_of(powers_at(a.peak_hz)));
  a.input_referred_at_peak_v_rthz = a.density_at_peak_v_rthz / peak_gain;
  a.signal_rms_v = settings.input_amplitude_v * peak_gain / std::numbers::sqrt2;
  a.snr_db = RatioDb(a.signal_rms_v, a.output_rms_v);
  a.largest_output_rms_v = LargestOutputPeak(settings.output) / std::numbers::sqrt2;
  a.dynamic_range_db = RatioDb(a.largest_output_rms_v, a.output_rms_v);
  return a;
}

}  // namespace calc

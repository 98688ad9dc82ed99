// The stage's noise: each resistor's thermal noise and the op-amp's voltage and current
// noise, carried to the output by the node equations and op-amp model of the response; the
// densities over frequency, the noise over a band, and what it leaves of the signal.
#ifndef KORVANE_CALC_ANALYSIS_NOISE_H
#define KORVANE_CALC_ANALYSIS_NOISE_H

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "calc/analysis/headroom.h"
#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"
#include "calc/numeric/quantity.h"
#include "calc/text/outcome.h"

namespace calc {

inline constexpr double kBoltzmann = 1.380649e-23;  // J/K, exact since 2019
inline constexpr double kZeroCelsius = 273.15;      // K

// The op-amp's input noise: en(f)^2 = en^2 (1 + fc / f) in series with its non-inverting
// input and in(f)^2 = in^2 (1 + fci / f) into its inverting input (the non-inverting input
// is grounded, so its current noise does nothing). The densities are the white floor in
// V/sqrt(Hz) and A/sqrt(Hz), the corners in hertz; zero is no such noise, and an ideal
// op-amp has none.
struct OpAmpNoise {
  double en_v_rthz = 0.0;
  double en_corner_hz = 0.0;
  double in_a_rthz = 0.0;
  double in_corner_hz = 0.0;
};

// The stage's noise sources, in the order of every per-source array; their names as the
// exports write them.
enum NoiseSource : int { kNoiseR1, kNoiseR2, kNoiseR3, kNoiseEn, kNoiseIn };
inline constexpr int kNoiseSourceCount = 5;
inline constexpr std::array<std::string_view, kNoiseSourceCount> kNoiseSourceNames = {
    "r1", "r2", "r3", "en", "in"};
using NoiseBySource = std::array<double, kNoiseSourceCount>;

// Which sources the stage has: the resistors it has (R2 may be left out) and the op-amp's
// noises that are not zero.
std::array<bool, kNoiseSourceCount> NoiseSourcesOf(const Circuit& circuit,
                                                   const OpAmpNoise& op_amp_noise);

// Each source's share of the output noise density at `frequency_hz`, squared (V^2/Hz;
// zero for a source the stage does not have), at `temperature_k` kelvin: 4kTR of each
// resistor as a current 4kT/R into its node, the op-amp's noises, each times the squared
// magnitude of its transfer to the output (ComputeStageTransfers).
// With the default design's R3 of 107 kΩ at 298.15 K and an ideal op-amp, R3's share at
// 1 mHz is 4kT R3 = 1.762e-15 V^2/Hz: below the band R3 alone joins the inverting input
// to the output.
NoiseBySource OutputNoisePowers(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                const OpAmpNoise& op_amp_noise, double temperature_k,
                                double frequency_hz);

// The settings of a noise analysis.
struct NoiseSettings {
  double temperature_c = 25.0;
  // The band the noise is integrated over; no value: fo / 10 and 10 fo, fo being the
  // circuit's (NaturalFrequency).
  double band_low_hz = kNoValue, band_high_hz = kNoValue;
  double input_amplitude_v = 1.0;  // the input sine's peak, for the signal-to-noise ratio
  OutputLimits output;             // the largest output sine, for the dynamic range
};

struct NoiseAnalysis {
  double temperature_k = kNoValue;
  std::array<bool, kNoiseSourceCount> present{};  // NoiseSourcesOf

  // Over the frequencies asked: the output noise density, total and of each present source
  // (an absent source's curve is empty), and the total referred to the input (÷ |H(f)|).
  std::vector<double> frequencies_hz;
  std::vector<double> total_v_rthz;
  std::array<std::vector<double>, kNoiseSourceCount> source_v_rthz;
  std::vector<double> input_referred_v_rthz;

  // Over the band: the output noise RMS, each source's RMS and its share of the noise
  // power (the squares: the shares add up to 1; zero for absent sources), and the relative
  // error bound of the integration (see IntegrateAdaptive), which it takes below 1e-10.
  double band_low_hz = kNoValue, band_high_hz = kNoValue;
  double output_rms_v = kNoValue;
  NoiseBySource source_rms_v{};
  NoiseBySource share{};
  double relative_error = kNoValue;

  // The equivalent noise bandwidth of the response H: the integral of |H(f)|^2 over all
  // frequencies divided by |H(f_peak)|^2, the band a brick-wall filter of the peak gain
  // would need to pass as much white noise. (The ideal band-pass's is pi/2 times its -3 dB
  // bandwidth.)
  double noise_bandwidth_hz = kNoValue;

  // At the response's peak: its frequency, the output noise density there, and that
  // density referred to the input.
  double peak_hz = kNoValue;
  double density_at_peak_v_rthz = kNoValue;
  double input_referred_at_peak_v_rthz = kNoValue;

  // The output signal's RMS at the peak for the input amplitude and the signal-to-noise
  // ratio it has against the band's noise RMS; the largest unclipped output sine's RMS
  // (LargestOutputPeak / sqrt 2) and that ratio, the dynamic range. Ratios of RMS values in
  // dB, 20 log10; no value for the dynamic range when the output has no room at all.
  double signal_rms_v = kNoValue;
  double snr_db = kNoValue;
  double largest_output_rms_v = kNoValue;
  double dynamic_range_db = kNoValue;
};

// The noise of `circuit` with `op_amp` (ideal without one) and `op_amp_noise`, the curves at
// `frequencies_hz`. A temperature at or below absolute zero, a band that is not two positive
// frequencies rising, an input amplitude that is not positive, a negative noise figure or
// corner, a frequency that is not positive, an op-amp whose A0 or Gbw is not positive or
// whose Cin is negative, or a circuit without a peak give their diagnostic instead.
Outcome<NoiseAnalysis> AnalyzeNoise(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                    const OpAmpNoise& op_amp_noise, const NoiseSettings& settings,
                                    std::span<const double> frequencies_hz);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_NOISE_H

// The noise engine against hand calculations on circuits simple enough to have them; the
// agreement with a simulator over whole sweeps is ngspice_noise_test's.
#include "calc/analysis/noise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "calc/analysis/response.h"

namespace {

using calc::kNoiseEn;
using calc::kNoiseIn;
using calc::kNoiseR1;
using calc::kNoiseR2;
using calc::kNoiseR3;

// Round values with a closed form: C1 = C2, so H = R3 / (2 R1) = 5; w0^2 = (1/R1 + 1/R2) /
// (R3 C1 C2) = 1.1e8 (fo = 1669.231 Hz); the -3 dB bandwidth (C1 + C2) / (R3 C1 C2) = 2000
// rad/s, so Q = 5.244 and the noise bandwidth pi/2 x 2000 / (2 pi) = 500 Hz exactly.
constexpr calc::Circuit kRound{10e3, 1e3, 100e3, 10e-9, 10e-9};
constexpr double kRoundFo = 1669.2311254479678;
constexpr double kFourKT = 1.6465619974e-20;  // 4 x 1.380649e-23 J/K x 298.15 K
constexpr double kRoomK = 298.15;

TEST(OutputNoisePowers, MatchesHandCalculationsWhereTheCircuitIsSimple) {
  // Far below the band the capacitors are open: R3 alone joins the inverting input to the
  // output, a current there leaves through R3 (in R3, and R3's own 4kT/R3 gives 4kT R3),
  // the op-amp's voltage noise reaches the output at a gain of one, and the summing node
  // is cut off from it. At fo the ideal band-pass gives -H, so R1's noise is H sqrt(4kT R1)
  // and R2's current 4kT/R2 through R1 (H R1 ohms) is H R1 sqrt(4kT / R2).
  const calc::OpAmpNoise noise{10e-9, 0, 1e-12, 0};
  const calc::NoiseBySource low =
      calc::OutputNoisePowers(kRound, std::nullopt, noise, kRoomK, 1e-6);
  EXPECT_NEAR(low[kNoiseR3], kFourKT * 100e3, 1e-9 * kFourKT * 100e3);
  EXPECT_NEAR(low[kNoiseEn], 1e-16, 1e-9 * 1e-16);
  EXPECT_NEAR(low[kNoiseIn], 1e-24 * 1e10, 1e-9 * 1e-14);
  EXPECT_LT(low[kNoiseR1], 1e-12 * low[kNoiseR3]);

  const calc::NoiseBySource at_fo =
      calc::OutputNoisePowers(kRound, std::nullopt, noise, kRoomK, kRoundFo);
  EXPECT_NEAR(std::sqrt(at_fo[kNoiseR1]), 6.415921596699886e-08, 1e-14);
  EXPECT_NEAR(std::sqrt(at_fo[kNoiseR2]), 2.0288925534635888e-07, 1e-13);

  // Below its corner the 1/f part adds en^2 fc / f: at f = fc the power doubles.
  const calc::OpAmpNoise flicker{10e-9, 1e-3, 1e-12, 1e-3};
  const calc::NoiseBySource corner =
      calc::OutputNoisePowers(kRound, std::nullopt, flicker, kRoomK, 1e-3);
  const calc::NoiseBySource white =
      calc::OutputNoisePowers(kRound, std::nullopt, noise, kRoomK, 1e-3);
  EXPECT_NEAR(corner[kNoiseEn], 2 * white[kNoiseEn], 1e-12 * white[kNoiseEn]);
  EXPECT_NEAR(corner[kNoiseIn], 2 * white[kNoiseIn], 1e-12 * white[kNoiseIn]);
  EXPECT_EQ(corner[kNoiseR3], white[kNoiseR3]);
}

TEST(OutputNoisePowers, HeaderExample) {
  const calc::Circuit design{26.7e3, 1.1e3, 107e3, 15e-9, 15e-9};
  const calc::NoiseBySource p = calc::OutputNoisePowers(design, std::nullopt, {}, kRoomK, 1e-3);
  EXPECT_NEAR(p[kNoiseR3], 1.762e-15, 0.0005e-15);
}

TEST(NoiseSourcesOf, LeavesOutWhatTheStageHasNot) {
  calc::Circuit no_r2 = kRound;
  no_r2.R2 = calc::kNoValue;
  using Present = std::array<bool, calc::kNoiseSourceCount>;
  EXPECT_EQ(calc::NoiseSourcesOf(kRound, {}), (Present{true, true, true, false, false}));
  EXPECT_EQ(calc::NoiseSourcesOf(no_r2, {1e-9, 0, 0, 0}),
            (Present{true, false, true, true, false}));
  EXPECT_EQ(calc::NoiseSourcesOf(kRound, {0, 5, 1e-15, 0}),
            (Present{true, true, true, false, true}));
}

TEST(AnalyzeNoise, BandFiguresOfTheIdealBandPass) {
  // Over a band wide enough to hold all of it (the tails beyond 10^6 fo add 1e-7), each
  // white source's power is its density at fo squared times the noise bandwidth: R1's
  // 4kT R1 H^2 x 500 Hz, R2's ten times that (R1 / R2).
  calc::NoiseSettings settings;
  settings.band_low_hz = kRoundFo * 1e-6;
  settings.band_high_hz = kRoundFo * 1e6;
  const std::vector<double> frequencies = {kRoundFo / 10, kRoundFo, kRoundFo * 10};
  const auto a = calc::AnalyzeNoise(kRound, std::nullopt, {}, settings, frequencies);
  ASSERT_TRUE(a.ok());
  EXPECT_NEAR(a->noise_bandwidth_hz, 500.0, 500.0 * 1e-7);
  EXPECT_NEAR(a->source_rms_v[kNoiseR1] * a->source_rms_v[kNoiseR1], 2.05820249675e-12,
              2.05820249675e-12 * 1e-6);
  EXPECT_NEAR(a->source_rms_v[kNoiseR2] * a->source_rms_v[kNoiseR2], 2.05820249675e-11,
              2.05820249675e-11 * 1e-6);
  EXPECT_LT(a->relative_error, 1e-9);

  double shares = 0;
  for (const double share : a->share) shares += share;
  EXPECT_NEAR(shares, 1.0, 1e-12);
  EXPECT_EQ(a->share[kNoiseEn], 0.0);
  EXPECT_TRUE(a->source_v_rthz[kNoiseEn].empty());
  ASSERT_EQ(a->total_v_rthz.size(), 3U);
  ASSERT_EQ(a->source_v_rthz[kNoiseR1].size(), 3U);

  // At the peak: the density and that density over |H| = 5 referred to the input; the
  // 1 V input's output 5 V peak, 5 / sqrt 2 RMS, against the noise; 15 V peak on the
  // default +-15 V rail-to-rail output.
  EXPECT_NEAR(a->peak_hz, kRoundFo, kRoundFo * 1e-7);
  EXPECT_NEAR(a->input_referred_at_peak_v_rthz * 5, a->density_at_peak_v_rthz,
              a->density_at_peak_v_rthz * 1e-9);
  EXPECT_NEAR(a->total_v_rthz[1], a->density_at_peak_v_rthz, a->density_at_peak_v_rthz * 1e-9);
  EXPECT_NEAR(a->input_referred_v_rthz[1] * 5, a->total_v_rthz[1], a->total_v_rthz[1] * 1e-9);
  EXPECT_NEAR(a->signal_rms_v, 5 / std::numbers::sqrt2, 1e-9);
  EXPECT_NEAR(a->snr_db, 20 * std::log10(5 / std::numbers::sqrt2 / a->output_rms_v), 1e-9);
  EXPECT_NEAR(a->dynamic_range_db, 20 * std::log10(15 / std::numbers::sqrt2 / a->output_rms_v),
              1e-9);
}

TEST(AnalyzeNoise, DefaultBandIsADecadeEitherSideOfFo) {
  const auto a = calc::AnalyzeNoise(kRound, std::nullopt, {}, {}, {});
  ASSERT_TRUE(a.ok());
  EXPECT_DOUBLE_EQ(a->band_low_hz, kRoundFo / 10);
  EXPECT_DOUBLE_EQ(a->band_high_hz, kRoundFo * 10);
  EXPECT_TRUE(a->total_v_rthz.empty());
  // The band holds most of a Q of 5's noise, but not all of it.
  calc::NoiseSettings wide;
  wide.band_low_hz = kRoundFo * 1e-6;
  wide.band_high_hz = kRoundFo * 1e6;
  const auto all = calc::AnalyzeNoise(kRound, std::nullopt, {}, wide, {});
  ASSERT_TRUE(all.ok());
  EXPECT_LT(a->output_rms_v, all->output_rms_v);
  EXPECT_GT(a->output_rms_v, 0.9 * all->output_rms_v);
}

TEST(AnalyzeNoise, TemperatureScalesTheResistorsNoise) {
  // Thermal noise power is proportional to T: 348.15 K against 298.15 K.
  calc::NoiseSettings hot;
  hot.temperature_c = 75;
  const auto room = calc::AnalyzeNoise(kRound, std::nullopt, {}, {}, {});
  const auto warm = calc::AnalyzeNoise(kRound, std::nullopt, {}, hot, {});
  ASSERT_TRUE(room.ok() && warm.ok());
  EXPECT_DOUBLE_EQ(warm->temperature_k, 348.15);
  EXPECT_NEAR(warm->output_rms_v / room->output_rms_v, std::sqrt(348.15 / 298.15), 1e-9);
}

TEST(AnalyzeNoise, RefusesWhatItCannotAnalyse) {
  struct Case {
    const char* name;
    calc::Circuit circuit;
    std::optional<calc::OpAmp> op_amp;
    calc::OpAmpNoise noise;
    calc::NoiseSettings settings;
    std::vector<double> frequencies;
    calc::Problem problem;
  };
  calc::NoiseSettings frozen;
  frozen.temperature_c = -273.15;
  calc::NoiseSettings inverted;
  inverted.band_low_hz = 2e3;
  inverted.band_high_hz = 1e3;
  calc::NoiseSettings silent;
  silent.input_amplitude_v = 0;
  calc::NoiseSettings not_a_number;
  not_a_number.temperature_c = calc::kNoValue;
  const calc::Circuit zero_r1{0, 1e3, 100e3, 10e-9, 10e-9};
  const Case cases[] = {
      {"absolute zero", kRound, std::nullopt, {}, frozen, {}, calc::Problem::kNoiseTemperature},
      {"no temperature",
       kRound,
       std::nullopt,
       {},
       not_a_number,
       {},
       calc::Problem::kNoiseTemperature},
      {"band upside down", kRound, std::nullopt, {}, inverted, {}, calc::Problem::kNoiseBand},
      {"no amplitude", kRound, std::nullopt, {}, silent, {}, calc::Problem::kInputAmplitude},
      {"negative en", kRound, std::nullopt, {-1e-9, 0, 0, 0}, {}, {}, calc::Problem::kNoiseFigures},
      {"negative corner",
       kRound,
       std::nullopt,
       {1e-9, 0, 1e-12, -1},
       {},
       {},
       calc::Problem::kNoiseFigures},
      {"zero frequency",
       kRound,
       std::nullopt,
       {},
       {},
       {1e3, 0},
       calc::Problem::kAnalysisFrequencies},
      {"zero R1", zero_r1, std::nullopt, {}, {}, {}, calc::Problem::kStageParts},
      {"zero A0", kRound, calc::OpAmp{0, 1e6}, {}, {}, {}, calc::Problem::kOpAmpFigures},
      {"negative Cin",
       kRound,
       calc::OpAmp{1e5, 1e6, -1e-12},
       {},
       {},
       {},
       calc::Problem::kOpAmpFigures},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto a = calc::AnalyzeNoise(c.circuit, c.op_amp, c.noise, c.settings, c.frequencies);
    ASSERT_FALSE(a.ok());
    EXPECT_EQ(a.diagnostic().problem, c.problem);
  }
}

TEST(AnalyzeNoise, NoDynamicRangeWithoutRoomAtTheOutput) {
  calc::NoiseSettings tight;
  tight.output = {2, 1, 1};
  const auto a = calc::AnalyzeNoise(kRound, std::nullopt, {}, tight, {});
  ASSERT_TRUE(a.ok());
  EXPECT_TRUE(std::isnan(a->dynamic_range_db));
  EXPECT_TRUE(std::isfinite(a->snr_db));
}

}  // namespace

// The headroom against hand calculations on a circuit with a closed form.
#include "calc/analysis/headroom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// C1 = C2: H = R3 / (2 R1) = 5 at fo = 1669.231 Hz (w0 = 10488.09 rad/s), the -3 dB
// bandwidth 2000 rad/s.
constexpr calc::Circuit kRound{10e3, 1e3, 100e3, 10e-9, 10e-9};
constexpr double kRoundFo = 1669.2311254479678;

TEST(LargestOutputPeak, HeaderExamplesAndFiguresThatLeaveNoRoom) {
  struct Case {
    const char* name;
    calc::OutputLimits limits;
    double expected;  // NaN: no value
  };
  const Case cases[] = {
      {"+-15 V, 1.5 V from each rail", {30, 1.5, 1.5}, 13.5},
      {"the nearer rail bounds a sine about mid-supply", {30, 1, 2}, 13},
      {"rail to rail", {5, 0, 0}, 2.5},
      {"swing eats the supply", {2, 1, 1}, calc::kNoValue},
      {"negative swing", {30, -1, 1}, calc::kNoValue},
      {"no supply", {0, 0, 0}, calc::kNoValue},
      {"infinite supply", {INFINITY, 0, 0}, calc::kNoValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const double peak = calc::LargestOutputPeak(c.limits);
    if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(peak)) << peak;
    } else {
      EXPECT_EQ(peak, c.expected);
    }
  }
}

TEST(AnalyzeHeadroom, NodesCurrentAndLimitsOfTheIdealBandPass) {
  calc::HeadroomSettings settings;
  settings.output = {30, 1.5, 1.5, 1e6, 0.5e-3};  // 1 V/us, 0.5 mA
  const std::vector<double> frequencies = {kRoundFo};
  const auto h = calc::AnalyzeHeadroom(kRound, std::nullopt, settings, frequencies);
  ASSERT_TRUE(h.ok());
  EXPECT_NEAR(h->peak_hz, kRoundFo, kRoundFo * 1e-7);
  EXPECT_NEAR(h->peak_output_v, 5.0, 1e-9);
  EXPECT_NEAR(h->output_v[0], 5.0, 1e-9);
  // The summing node is Vout / (s C2 R3) (no current into the virtual ground but through
  // C2 and R3): a second-order low-pass that peaks at w^2 = w0^2 - bw^2 / 2 at
  // H / (C2 R3 sqrt(w0^2 - bw^2 / 4)).
  EXPECT_NEAR(h->summing_node_v[0], 5.0 / (1e-3 * 10488.088481701516), 1e-9);
  EXPECT_NEAR(h->peak_summing_node_v, 0.47891314261057577, 1e-9);
  EXPECT_EQ(h->peak_inverting_input_v, 0.0);
  // At fo, Vout = -5 V and Va = 5 / (j w0 C2 R3): into C1 j w0 C1 (Vout - Va), into R3 and
  // the 10 kΩ load -5 V / 100 kΩ and -5 V / 10 kΩ; |(-6e-4) - j 5.244e-4| A.
  EXPECT_NEAR(h->peak_output_current_a, 7.968688725254613e-4, 1e-12);
  EXPECT_EQ(h->current_within, false);
  // 13.5 V of swing over a gain of 5; 1 V/us over 2 pi fo 5 V per volt in.
  EXPECT_NEAR(h->swing_limit_v, 2.7, 1e-9);
  EXPECT_NEAR(h->slew_limit_v, 19.069251784911845, 1e-6);
  EXPECT_EQ(h->limit, calc::HeadroomLimit::kSwing);
  EXPECT_EQ(h->max_input_v, h->swing_limit_v);
  ASSERT_EQ(h->warnings.size(), 1U);
  EXPECT_EQ(h->warnings[0].problem, calc::Problem::kOutputCurrentShort);
  EXPECT_EQ(h->warnings[0].details, (std::vector<std::string>{"796.869u", "500.000u"}));
}

TEST(AnalyzeHeadroom, SaysWhichLimitBindsAndWarnsOfEach) {
  calc::HeadroomSettings settings;
  settings.input_amplitude_v = 3;
  settings.output = {30, 1.5, 1.5, 0.1e6};  // a slow 0.1 V/us: 1.907 V in
  const auto slow = calc::AnalyzeHeadroom(kRound, std::nullopt, settings, {});
  ASSERT_TRUE(slow.ok());
  EXPECT_EQ(slow->limit, calc::HeadroomLimit::kSlew);
  EXPECT_NEAR(slow->max_input_v, 1.9069251784911845, 1e-7);
  EXPECT_FALSE(slow->current_within.has_value());
  ASSERT_EQ(slow->warnings.size(), 2U);
  EXPECT_EQ(slow->warnings[0].problem, calc::Problem::kInputClips);
  EXPECT_EQ(slow->warnings[0].details, (std::vector<std::string>{"3.000", "2.700"}));
  EXPECT_EQ(slow->warnings[1].problem, calc::Problem::kInputSlews);
  EXPECT_EQ(slow->warnings[1].details, (std::vector<std::string>{"3.000", "1.907"}));

  // Without a slew rate only the swing limits, rail to rail by default.
  const auto free = calc::AnalyzeHeadroom(kRound, std::nullopt, {}, {});
  ASSERT_TRUE(free.ok());
  EXPECT_TRUE(std::isnan(free->slew_limit_v));
  EXPECT_EQ(free->limit, calc::HeadroomLimit::kSwing);
  EXPECT_NEAR(free->max_input_v, 3.0, 1e-9);
  EXPECT_TRUE(free->warnings.empty());
}

TEST(AnalyzeHeadroom, RealOpAmpLiftsTheInvertingInput) {
  // V- = -Vout / A: at fo with a 1 MHz op-amp, |A| is about 1e6 / 1669 = 599, so 5 V out
  // leaves some 8.3 mV on the inverting input.
  const std::vector<double> frequencies = {kRoundFo};
  const auto h = calc::AnalyzeHeadroom(kRound, calc::OpAmp{1e6, 1e6}, {}, frequencies);
  ASSERT_TRUE(h.ok());
  EXPECT_NEAR(h->inverting_input_v[0], h->output_v[0] * kRoundFo / 1e6, 1e-4);
  EXPECT_GT(h->peak_inverting_input_v, h->inverting_input_v[0] * 0.99);
}

TEST(AnalyzeHeadroom, RefusesWhatItCannotAnalyse) {
  struct Case {
    const char* name;
    calc::HeadroomSettings settings;
    std::vector<double> frequencies;
    calc::Problem problem;
  };
  calc::HeadroomSettings silent;
  silent.input_amplitude_v = -1;
  calc::HeadroomSettings shorted;
  shorted.load_ohm = 0;
  calc::HeadroomSettings starved;
  starved.output = {3, 1.5, 1.5};
  calc::HeadroomSettings stuck;
  stuck.output.slew_v_per_s = 0;
  calc::HeadroomSettings weak;
  weak.output.output_current_a = -1;
  const Case cases[] = {
      {"negative amplitude", silent, {}, calc::Problem::kInputAmplitude},
      {"zero load", shorted, {}, calc::Problem::kLoad},
      {"no room", starved, {}, calc::Problem::kOutputRoom},
      {"zero slew rate", stuck, {}, calc::Problem::kSlewRate},
      {"negative output current", weak, {}, calc::Problem::kOutputCurrent},
      {"negative frequency", {}, {-1}, calc::Problem::kAnalysisFrequencies},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto h = calc::AnalyzeHeadroom(kRound, std::nullopt, c.settings, c.frequencies);
    ASSERT_FALSE(h.ok());
    EXPECT_EQ(h.diagnostic().problem, c.problem);
  }
}

}  // namespace

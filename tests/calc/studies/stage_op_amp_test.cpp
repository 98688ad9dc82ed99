// The one rule from a catalogue part to the stage's models, and the suitability of parts
// held to a circuit's needs: small parts made for each need, so that each verdict follows
// from hand-worked figures of the circuit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "calc/studies/stage_op_amp.h"
#include "calc/studies/suitability.h"

namespace {

using calc::Need;
using calc::OpAmpPart;
using calc::StageOpAmp;
using calc::Verdict;

TEST(StageOpAmpTest, CinAddsBothCapacitancesAndBlanksStayUnknown) {
  OpAmpPart part;
  part.name = "X1";
  part.gbw_hz = 3e6;
  part.a0 = 2e5;
  part.cin_diff_f = 2e-12;
  part.cin_cm_f = 5e-12;
  part.en_v_rthz = 18e-9;
  part.slew_v_per_s = 13e6;
  EXPECT_EQ(calc::StageOpAmpOf(part).cin_f, 2e-12 + 5e-12);
  part.cin_cm_f = calc::kNoValue;
  EXPECT_EQ(calc::StageOpAmpOf(part).cin_f, 2e-12);
  part.cin_diff_f = calc::kNoValue;
  const StageOpAmp op_amp = calc::StageOpAmpOf(part);
  EXPECT_TRUE(std::isnan(op_amp.cin_f));

  // The model counts an unknown Cin as none and needs both GBW and A0.
  const std::optional<calc::OpAmp> model = calc::OpAmpModelOf(op_amp);
  ASSERT_TRUE(model);
  EXPECT_EQ(model->Gbw, 3e6);
  EXPECT_EQ(model->A0, 2e5);
  EXPECT_EQ(model->Cin, 0.0);
  StageOpAmp no_a0 = op_amp;
  no_a0.a0 = calc::kNoValue;
  EXPECT_FALSE(calc::OpAmpModelOf(no_a0));

  // An unknown density is no source, an unknown corner white noise.
  const calc::OpAmpNoise noise = calc::OpAmpNoiseOf(op_amp);
  EXPECT_EQ(noise.en_v_rthz, 18e-9);
  EXPECT_EQ(noise.en_corner_hz, 0.0);
  EXPECT_EQ(noise.in_a_rthz, 0.0);

  // Rail to rail without a swing; the slew rate carried in V/s.
  const calc::OutputLimits limits = calc::OutputLimitsOf(op_amp, 30);
  EXPECT_EQ(limits.swing_low_v, 0.0);
  EXPECT_EQ(limits.slew_v_per_s, 13e6);
  EXPECT_TRUE(std::isnan(limits.output_current_a));
}

TEST(StageOpAmpTest, TypedFiguresOverrideThePartAndDropItsNameOnlyWhenTheyChangeIt) {
  OpAmpPart part;
  part.name = "X1";
  part.gbw_hz = 3e6;
  part.a0 = 2e5;
  StageOpAmp typed;
  typed.gbw_hz = 3e6;
  EXPECT_EQ(calc::WithTypedFigures(calc::StageOpAmpOf(part), typed).name, "X1");
  typed.gbw_hz = 4e6;
  typed.slew_v_per_s = 1e6;
  const StageOpAmp merged = calc::WithTypedFigures(calc::StageOpAmpOf(part), typed);
  EXPECT_EQ(merged.name, "");
  EXPECT_EQ(merged.gbw_hz, 4e6);
  EXPECT_EQ(merged.a0, 2e5);
  EXPECT_EQ(merged.slew_v_per_s, 1e6);
}

// fo 10 kHz, Q 10, H 1 (C1 = C2, unsnapped): the peak of the ideal circuit is 1 (0 dB) at
// 10 kHz, so a 1 V input peak needs 2 pi 10 kHz 1 V = 0.0628 V/us and swings the output
// 1 V either way.
const calc::Circuit kQ10{100e3, 502.51256281407035, 200e3, 1.5915494309189533e-09,
                         1.5915494309189533e-09};

OpAmpPart GoodPart(const char* name) {
  OpAmpPart part;
  part.name = name;
  part.gbw_hz = 1e9;
  part.a0 = 1e7;
  part.slew_v_per_s = 20e6;
  part.en_v_rthz = 1e-12;
  part.in_a_rthz = 1e-18;
  part.swing_low_v = 1.5;
  part.swing_high_v = 1.5;
  part.supply_min_v = 5;
  part.supply_max_v = 36;
  return part;
}

TEST(SuitabilityTest, EachNeedIsMetMissedOrUnknown) {
  std::vector<OpAmpPart> parts;
  parts.push_back(GoodPart("good"));
  parts.push_back(GoodPart("slow"));
  parts.back().gbw_hz = 100e3;  // a Q of 10 at 10 kHz needs tens of MHz
  parts.push_back(GoodPart("low-a0"));
  parts.back().a0 = 100;  // within 1 % needs A0 far above 2 Q^2 / H = 200
  parts.push_back(GoodPart("slewing"));
  parts.back().slew_v_per_s = 0.05e6;  // below 0.0628 V/us
  parts.push_back(GoodPart("no-room"));
  parts.back().swing_low_v = parts.back().swing_high_v = 14.5;  // 0.5 V peak at +-15 V
  parts.push_back(GoodPart("5V-only"));
  parts.back().supply_max_v = 5;  // cannot work on 30 V
  parts.push_back(GoodPart("noisy"));
  parts.back().en_v_rthz = 1e-6;
  parts.push_back(GoodPart("blank"));
  parts.back().slew_v_per_s = calc::kNoValue;
  parts.back().in_a_rthz = calc::kNoValue;
  parts.back().swing_high_v = calc::kNoValue;
  parts.push_back(GoodPart("no-gbw"));
  parts.back().gbw_hz = calc::kNoValue;

  calc::SuitabilityInputs inputs;
  inputs.circuit = kQ10;
  const calc::Outcome<std::vector<calc::PartSuitability>> list =
      calc::RunSuitabilityStudy(inputs, parts);
  ASSERT_TRUE(list.ok()) << calc::CliText(list.diagnostic());
  ASSERT_EQ(list->size(), parts.size());

  constexpr Verdict M = Verdict::kMet, X = Verdict::kMissed, U = Verdict::kUnknown;
  // gbw, a0, slew, swing, noise
  const std::array<Verdict, calc::kNeedCount> expected[] = {
      {M, M, M, M, M}, {X, M, M, M, M}, {X, X, M, M, M}, {M, M, X, M, M}, {M, M, M, X, M},
      {M, M, M, X, M}, {M, M, M, M, X}, {M, M, U, U, U}, {U, U, U, U, U},
  };
  for (std::size_t i = 0; i < parts.size(); ++i) {
    SCOPED_TRACE(parts[i].name);
    const calc::PartSuitability& part = (*list)[i];
    EXPECT_EQ(part.op_amp.name, parts[i].name);
    for (int need = 0; need < calc::kNeedCount; ++need) {
      EXPECT_EQ(part.verdicts[need], expected[i][need]) << calc::kNeedNames[need];
    }
    EXPECT_EQ(part.MeetsAll(), i == 0);
  }
  const calc::PartSuitability& good = list->front();
  // The 1 GHz op-amp's loop gain of about 500 at the peak moves it by about 1e-4.
  EXPECT_NEAR(good.required_slew_v_per_us, 2 * std::numbers::pi * 10e3 / 1e6, 1e-3 * 0.0628);
  EXPECT_NEAR(good.output_peak_v, 1.0, 1e-3);
  EXPECT_EQ(good.largest_output_peak_v, 13.5);
  EXPECT_LT(good.op_amp_noise_share, 1e-6);
  EXPECT_GT((*list)[6].op_amp_noise_share, calc::kMostOpAmpNoiseShare);
}

}  // namespace

// Errors, score and tie-break of a set against its target, by hand.
#include "calc/analysis/target_score.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using calc::Allowances;
using calc::TargetErrors;

TEST(TargetScore, HeaderExamples) {
  const calc::TransferFunction figures =
      calc::CircuitFigures({11e3, 11e3, 22e3, 15e-9, 15e-9}, std::nullopt);
  EXPECT_EQ(figures.Fo, 964.5754126781536);
  EXPECT_EQ(figures.Q, 0.9999999999999999);
  EXPECT_EQ(figures.H, 1.0);
  EXPECT_NEAR(calc::ErrorsFrom({990, 1, 1}, {1000, 1, 1}).Fo, -0.01, 1e-16);
  const TargetErrors errors{-0.005, 0.03, 0.0};
  EXPECT_DOUBLE_EQ(calc::Score(errors, Allowances{}), 1.0);
  EXPECT_DOUBLE_EQ(calc::TieBreak(errors, Allowances{}), 1.25);
  const calc::ScaledErrorRange range = calc::ScaledErrorWithin(1010, 1000, 0.01, 1e-3);
  EXPECT_NEAR(range.least, 0.899, 1e-14);
  EXPECT_NEAR(range.most, 1.101, 1e-14);
}

// The score is the worst figure's share of its allowance, whichever figure that is and
// whichever sign its error has; a missing figure gives no score.
TEST(TargetScore, IsTheWorstScaledError) {
  const Allowances allowances{0.01, 0.02, 0.04};
  struct Case {
    TargetErrors errors;
    double score;
  };
  const Case cases[] = {
      {{0.02, 0.0, 0.0}, 2.0},
      {{0.0, -0.03, 0.0}, 1.5},
      {{0.0, 0.0, -0.02}, 0.5},
      {{-0.005, 0.01, 0.02}, 0.5},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(calc::Score(c.errors, allowances), c.score);
  EXPECT_TRUE(std::isnan(calc::Score({0.0, calc::kNoValue, 0.0}, allowances)));
}

TEST(TargetScore, WithinAllowancesIncludesTheBoundary) {
  const Allowances allowances{0.25, 0.5, 0.125};  // exact in binary
  EXPECT_TRUE(calc::WithinAllowances({0.25, -0.5, 0.125}, allowances));
  EXPECT_FALSE(calc::WithinAllowances({0.25, -0.5, 0.1250001}, allowances));
  EXPECT_FALSE(calc::WithinAllowances({calc::kNoValue, 0, 0}, allowances));
}

// With an op-amp model the figures are the measured ones; a circuit whose formulas fault
// has none.
TEST(CircuitFigures, MeasuredWithAModelAndNoneOnAFault) {
  const calc::Circuit circuit{11e3, 11e3, 22e3, 15e-9, 15e-9};
  const calc::OpAmp op_amp{1e5, 100e3, 0};
  const calc::ResponseFigures measured = calc::MeasureCircuit(circuit, op_amp);
  const calc::TransferFunction figures = calc::CircuitFigures(circuit, op_amp);
  EXPECT_EQ(figures.Fo, measured.peak_hz);
  EXPECT_EQ(figures.Q, measured.q_bandwidth);
  EXPECT_DOUBLE_EQ(20 * std::log10(figures.H), measured.peak_gain_db);
  const calc::TransferFunction fault = calc::CircuitFigures({0, 11e3, 22e3, 15e-9, 15e-9}, {});
  EXPECT_TRUE(std::isnan(fault.Fo) && std::isnan(fault.Q) && std::isnan(fault.H));
}

}  // namespace

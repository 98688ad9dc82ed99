// The closed form for a given capacitor pair: exact figures, the design's own arithmetic.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/circuit/band_pass.h"
#include "calc/circuit/preferred_values.h"

namespace {

using calc::Circuit;
using calc::ExactResistors;
using calc::TransferFunction;

TEST(ExactResistors, HeaderExamples) {
  // Python on the same operations: Rp = 1 / ((2 x 15e-9) x 2 pi 1000).
  const Circuit equal = ExactResistors({1000, 1, 1}, 15e-9, 15e-9);
  EXPECT_EQ(equal.R1, 10610.32953945969);
  EXPECT_EQ(equal.R2, 10610.32953945969);
  EXPECT_EQ(equal.R3, 21220.65907891938);
  EXPECT_EQ(equal.C1, 15e-9);
  EXPECT_EQ(equal.C2, 15e-9);
  EXPECT_FALSE(ExactResistors({1000, 2, 10}, 10e-9, 15e-9).HasR2());
}

// With R2 the formulas give the target itself, for any pair, C1 below, at or above C2.
TEST(ExactResistors, HitTheTargetForAnyPair) {
  struct Case {
    TransferFunction target;
    double C1, C2;
  };
  const Case cases[] = {
      {{1000, 1, 1}, 15e-9, 15e-9},       {{10e3, 8, 4}, 680e-12, 3.3e-9},
      {{10e3, 8, 4}, 3.3e-9, 1e-9},       {{50, 0.5, 0.5}, 470e-9, 1e-6},
      {{100e3, 20, 20}, 100e-12, 47e-12}, {{10, 20, 0.5}, 2.2e-6, 4.7e-6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.target.Fo << " Hz, Q " << c.target.Q << ", H "
                                    << c.target.H << ", C1 " << c.C1 << ", C2 " << c.C2);
    const Circuit circuit = ExactResistors(c.target, c.C1, c.C2);
    ASSERT_TRUE(circuit.HasR2());
    const TransferFunction achieved = calc::Analyze(circuit);
    EXPECT_NEAR(achieved.Fo / c.target.Fo, 1.0, 1e-14);
    EXPECT_NEAR(achieved.Q / c.target.Q, 1.0, 1e-14);
    EXPECT_NEAR(achieved.H / c.target.H, 1.0, 1e-14);
  }
}

// Without R2 (a gain the pair cannot give with one) H stays exact and fo and Q come out
// high by one factor, sqrt(H / m) with m = ((C2/C1 + 1) Q) Q.
TEST(ExactResistors, WithoutR2KeepTheGain) {
  const TransferFunction target{10e3, 2, 20};
  const double C1 = 1e-9, C2 = 3.3e-9;
  const double m = (C2 / C1 + 1) * 2 * 2;  // 17.2, below H
  const Circuit circuit = ExactResistors(target, C1, C2);
  ASSERT_FALSE(circuit.HasR2());
  const TransferFunction achieved = calc::Analyze(circuit);
  EXPECT_NEAR(achieved.H, 20, 20 * 1e-14);
  EXPECT_NEAR(achieved.Fo / target.Fo, std::sqrt(20 / m), 1e-14);
  EXPECT_NEAR(achieved.Q / target.Q, std::sqrt(20 / m), 1e-14);
}

// The design command's parts are these resistors snapped: the joint search, which steps
// around them, always holds the design command's own set.
TEST(ExactResistors, SnapToTheDesignCommandsParts) {
  const calc::DesignRequest requests[] = {
      {1e3, 1, 1, 10e3, 24, 6},     {10e3, 8, 4, 10e3, 24, 6},
      {1e3, 2, 10, 10e3, 24, 6},    {100e3, 20, 1, 1e3, 192, 24},
      {10, 0.5, 20, 47e3, 12, 3},   {3.3e3, 5, 2, 2.2e3, 96, 12, 4.7e-9},
      {440, 0.7, 0.5, 10e3, 48, 6},
  };
  for (const calc::DesignRequest& request : requests) {
    SCOPED_TRACE(testing::Message() << request.Fo << " Hz, Q " << request.Q << ", H " << request.H);
    const Circuit design = calc::Design(request).Snapped;
    const Circuit exact = ExactResistors({request.Fo, request.Q, request.H}, design.C1, design.C2);
    EXPECT_EQ(calc::SnapToSeries(exact.R1, request.SeriesR), design.R1);
    EXPECT_EQ(calc::SnapToSeries(exact.R3, request.SeriesR), design.R3);
    if (design.HasR2()) {
      ASSERT_TRUE(exact.HasR2());
      EXPECT_EQ(calc::SnapToSeries(exact.R2, request.SeriesR), design.R2);
    }
  }
}

}  // namespace

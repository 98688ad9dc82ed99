#include "calc/analysis/worst_case.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "calc/analysis/tolerance.h"
#include "calc/circuit/band_pass.h"
#include "calc/numeric/counter_random.h"

namespace {

using calc::Circuit;
using calc::kNoValue;
using calc::PartValues;

const Circuit kDefaultDesign{11e3, 11e3, 22e3, 15e-9, 15e-9};

TEST(AnalyzeWorstCase, ZeroTolerancesGiveTheNominalFigures) {
  const calc::TransferFunction nominal = calc::Analyze(kDefaultDesign);
  const calc::WorstCase w = calc::AnalyzeWorstCase(kDefaultDesign, {0, 0, 0, 0, 0});
  EXPECT_EQ(w.Fo.min, nominal.Fo);
  EXPECT_EQ(w.Fo.max, nominal.Fo);
  EXPECT_EQ(w.Q.min, nominal.Q);
  EXPECT_EQ(w.Q.max, nominal.Q);
  EXPECT_EQ(w.H.min, nominal.H);
  EXPECT_EQ(w.H.max, nominal.H);
}

// fo falls with every part, so its extremes are the all-low and all-high corners; H rises
// with R3 and C2 and falls with R1 and C1. Hand-picked corners, not a search.
TEST(AnalyzeWorstCase, MonotoneFiguresTakeTheirExtremesAtTheExpectedCorners) {
  const Circuit nominal{8200, 180e3, 43e3, 4.7e-9, 15e-9};
  const double r = 0.01, c = 0.05;
  const calc::WorstCase w = calc::AnalyzeWorstCase(nominal, {r, r, r, c, c});
  auto at = [&](double f1, double f2, double f3, double g1, double g2) {
    return calc::Analyze(
        {nominal.R1 * f1, nominal.R2 * f2, nominal.R3 * f3, nominal.C1 * g1, nominal.C2 * g2});
  };
  EXPECT_EQ(w.Fo.max, at(1 - r, 1 - r, 1 - r, 1 - c, 1 - c).Fo);
  EXPECT_EQ(w.Fo.min, at(1 + r, 1 + r, 1 + r, 1 + c, 1 + c).Fo);
  EXPECT_EQ(w.H.max, at(1 - r, 1 - r, 1 + r, 1 - c, 1 + c).H);
  EXPECT_EQ(w.H.min, at(1 + r, 1 + r, 1 - r, 1 + c, 1 - c).H);
}

// With C1 = C2, Q peaks inside the box (at C1/C2 = 1), where no corner lies: the search
// must find that maximum, and every point drawn inside the box must lie within the range.
TEST(AnalyzeWorstCase, QMaximumInsideTheBoxAndNoPointOutsideTheRange) {
  for (const Circuit& nominal : {kDefaultDesign, Circuit{5100, kNoValue, 22e3, 15e-9, 15e-9},
                                 Circuit{8200, 180e3, 43e3, 4.7e-9, 15e-9}}) {
    SCOPED_TRACE(nominal.R1);
    const PartValues tolerances = {0.01, 0.02, 0.01, 0.05, 0.05};
    const calc::WorstCase w = calc::AnalyzeWorstCase(nominal, tolerances);
    if (nominal.C1 == nominal.C2) {
      // Q rises with R3 and falls with R1 and R2.
      const double r2 = nominal.HasR2() ? nominal.R2 * 0.98 : kNoValue;
      const double q_peak =
          calc::Analyze({nominal.R1 * 0.99, r2, nominal.R3 * 1.01, nominal.C1, nominal.C2}).Q;
      EXPECT_EQ(w.Q.max, q_peak);
    }
    calc::ToleranceSettings settings;
    settings.tolerances = tolerances;
    const std::uint64_t key = calc::RandomKey(5);
    for (std::int64_t trial = 0; trial < 5000; ++trial) {
      const calc::TransferFunction f =
          calc::Analyze(calc::TrialCircuit(nominal, settings, key, trial));
      ASSERT_GE(f.Fo, w.Fo.min);
      ASSERT_LE(f.Fo, w.Fo.max);
      ASSERT_GE(f.Q, w.Q.min);
      ASSERT_LE(f.Q, w.Q.max);
      ASSERT_GE(f.H, w.H.min);
      ASSERT_LE(f.H, w.H.max);
    }
  }
}

// Unequal capacitors whose bands overlap: 10 nF +-10 % and 11 nF +-5 % share 10.45 ... 11 nF.
// Q = sqrt(G R3 r) / (1 + r) with r = C1/C2 peaks at r = 1, which no corner of the box
// reaches (the nearest, 11 / 10.45, gives 0.03 % less), so the maximum must come from the
// points with C1 = C2: there Q = sqrt(G R3) / 2 with the resistors at their Q-raising
// ends, R1 and R2 low, R3 high (G = 1/R1 + 1/R2, or 1/R1 without R2).
TEST(AnalyzeWorstCase, QMaximumAtEqualCapacitorsWhereUnequalBandsOverlap) {
  for (const Circuit& nominal :
       {Circuit{10e3, 1e3, 200e3, 10e-9, 11e-9}, Circuit{10e3, kNoValue, 200e3, 10e-9, 11e-9}}) {
    SCOPED_TRACE(nominal.HasR2() ? "with R2" : "without R2");
    const double r1 = 10e3 * 0.99, r2 = 1e3 * 0.99, r3 = 200e3 * 1.01;
    const double conductance = nominal.HasR2() ? 1 / r1 + 1 / r2 : 1 / r1;
    const double q_peak = std::sqrt(conductance * r3) / 2;
    const calc::WorstCase w = calc::AnalyzeWorstCase(nominal, {0.01, 0.01, 0.01, 0.10, 0.05});
    EXPECT_NEAR(w.Q.max, q_peak, q_peak * 1e-14);
    const double nearest_corner_ratio = 11.0 / 10.45;
    const double corner_q =
        std::sqrt(conductance * r3 * nearest_corner_ratio) / (1 + nearest_corner_ratio);
    EXPECT_GT(w.Q.max, corner_q * (1 + 2e-4));
  }
}

}  // namespace

#include "calc/band_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "calc/calc_state.h"
#include "calc/float_ops.h"
#include "tests/support/memory_form.h"

namespace {

using Kind = calc::FloatError::Kind;

constexpr double kNoR2 = calc::kNoValue;
// Component values as the parser reads "15n" or "4.7n": the digits divided by 10^9.
constexpr double Nano(double digits) { return digits / 1e9; }

struct Circuit {
  double R1, R2, R3, C1, C2;
};

// Expected doubles come from the worked examples and from evaluating the formulas by
// hand in the same grouping with correctly rounded IEEE arithmetic.
TEST(AnalyzeBandPass, ResultsToTheLastDigit) {
  struct Case {
    const char* name;
    Circuit circuit;
    double fo, q, h;
  };
  const Case cases[] = {
      // The canary: any other grouping of the Q formula gives exactly 1.
      {"default design",
       {11e3, 11e3, 22e3, Nano(15), Nano(15)},
       964.5754126781536,
       0.9999999999999999,
       1.0},
      {"unsnapped default design",
       {10e3, 10e3, 20e3, Nano(15.915), Nano(15.915)},
       1000.0310593270207,
       1.0,
       1.0},
      {"no R2",
       {5100, kNoR2, 22e3, Nano(15), Nano(15)},
       1001.6879378924207,
       1.0384755040678715,
       2.156862745098039},
      {"unequal capacitors",
       {8200, 180e3, 43e3, Nano(4.7), Nano(15)},
       1032.186028317771,
       0.9979968969015217,
       3.9928191160084188},
      {"no R2, equal parts",
       {10e3, kNoR2, 20e3, Nano(10), Nano(10)},
       1125.3953951963827,
       0.7071067811865476,
       1.0},
      {"negative R1 with R2",
       {-10e3, 1e3, 20e3, Nano(10), Nano(10)},
       3376.1861855891475,
       2.1213203435596424,
       -1.0},
      {"ten times gain",
       {10e3, 1e3, 100e3, Nano(10), Nano(10)},
       1669.2311254479678,
       5.244044240850758,
       5.0},
      {"conductances cancel: zero results, no fault",
       {10e3, -10e3, 20e3, Nano(10), Nano(10)},
       0.0,
       -0.0,
       1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calc::CalcState state;
    const Circuit& k = c.circuit;
    calc::AnalyzeBandPass(state, k.R1, k.R2, k.R3, k.C1, k.C2);
    EXPECT_EQ(state.FoResult, c.fo);
    EXPECT_EQ(state.QResult, c.q);
    EXPECT_EQ(state.HResult, c.h);
    EXPECT_EQ(std::signbit(state.QResult), std::signbit(c.q));
  }
}

TEST(AnalyzeBandPass, ZeroR2IsAValueNotAMissingOne) {
  calc::CalcState state;
  EXPECT_THROW(calc::AnalyzeBandPass(state, 10e3, 0.0, 20e3, Nano(10), Nano(10)), calc::FloatError);
}

// The results are stored in the order fo, Q, H: a fault in a later formula keeps the
// earlier results, and the fault is the one of the leftmost failing operation.
TEST(AnalyzeBandPass, FaultsStopAtTheFaultingOperation) {
  struct Case {
    const char* name;
    Circuit circuit;
    Kind kind;
    bool fo_stored;
  };
  const double huge = 1e200;
  const Case cases[] = {
      {"R1 zero", {0, 10e3, 20e3, Nano(10), Nano(10)}, Kind::kDivisionByZero, false},
      {"R1 zero without R2", {0, kNoR2, 20e3, Nano(10), Nano(10)}, Kind::kDivisionByZero, false},
      {"C2 zero", {10e3, 10e3, 20e3, Nano(10), 0}, Kind::kDivisionByZero, false},
      {"negative R1 without R2",
       {-10e3, kNoR2, 20e3, Nano(10), Nano(10)},
       Kind::kInvalidOperation,
       false},
      {"negative conductance sum",
       {10e3, -5e3, 20e3, Nano(10), Nano(10)},
       Kind::kInvalidOperation,
       false},
      // fo's square root is fine; Q's divisor C1/C2 + 1 is zero.
      {"C1 = -C2", {10e3, 10e3, -20e3, Nano(-10), Nano(10)}, Kind::kDivisionByZero, true},
      // fo's square root fails before Q's divisor C1/C2 + 1 = 0 is reached.
      {"C1 = -C2, square root first",
       {10e3, 10e3, 20e3, Nano(-10), Nano(10)},
       Kind::kInvalidOperation,
       false},
      {"product overflows", {10e3, 10e3, huge, huge, huge}, Kind::kOverflow, false},
      // Both 1/R1 (division by zero) and R3 C1 (overflow) fail; 1/R1 stands left.
      {"leftmost fault wins", {0, 10e3, huge, huge, Nano(10)}, Kind::kDivisionByZero, false},
      {"both capacitors zero", {10e3, 10e3, 20e3, 0, 0}, Kind::kDivisionByZero, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calc::CalcState state;
    const Circuit& k = c.circuit;
    try {
      calc::AnalyzeBandPass(state, k.R1, k.R2, k.R3, k.C1, k.C2);
      ADD_FAILURE() << "no FloatError";
    } catch (const calc::FloatError& error) {
      EXPECT_EQ(error.kind(), c.kind);
    }
    EXPECT_EQ(std::isnan(state.FoResult), !c.fo_stored);
    EXPECT_TRUE(std::isnan(state.QResult));
    EXPECT_TRUE(std::isnan(state.HResult));
  }
}

// C2 as the design chooses it for 1 kHz and 10 kOhm from E6: 1.5 x exp(-8 ln 10).
constexpr double kDefaultC2 = 1.4999999999999492e-08;

TEST(DesignBandPass, ComponentsAndAchievedValues) {
  struct Case {
    const char* name;
    double C2, Fo, Q, H;
    std::int32_t series_r, series_c;
    Circuit expected;
    double fo, q, h;
    bool q_warning;
  };
  const Case cases[] = {
      {"default design",
       kDefaultC2,
       1e3,
       1,
       1,
       24,
       6,
       {11e3, 11e3, 22e3, kDefaultC2, kDefaultC2},
       964.5754126781862,
       0.9999999999999999,
       1.0,
       false},
      // H > 2 Q^2: C1 = SnapToSeries(C2 / 3, 6) = 4.7 x exp(-9 ln 10); R2 from 176.84 k.
      {"high gain",
       kDefaultC2,
       1e3,
       1,
       4,
       24,
       6,
       {8200, 180e3, 43e3, 4.6999999999998196e-09, kDefaultC2},
       1032.186028317808,
       0.9979968969015206,
       3.9928191160084237,
       false},
      // m = 10.000000000000028 > H: R2 ~ 1.1e18 is computed, then left out (> 1000 R1).
      {"R2 above 1000 R1 is left out",
       kDefaultC2,
       1e3,
       2,
       10,
       24,
       6,
       {3300, kNoR2, 51e3, 9.999999999999616e-09, kDefaultC2},
       1001.6879378924568,
       1.9259000257258698,
       9.27272727272729,
       true},
      // H = 2 Q^2 is not above it: C1 = C2, m = 2 = H, so no R2.
      {"H exactly 2 Q^2",
       kDefaultC2,
       1e3,
       1,
       2,
       24,
       6,
       {5100, kNoR2, 22e3, kDefaultC2, kDefaultC2},
       1001.6879378924546,
       1.0384755040678715,
       2.156862745098039,
       true},
      {"no snapping",
       1.5915494309189534e-08,
       1e3,
       1,
       1,
       0,
       0,
       {10e3, 10e3, 20e3, 1.5915494309189534e-08, 1.5915494309189534e-08},
       1000.0000000000001,
       1.0,
       1.0,
       false},
      // Negative components: a negative R2 still exceeds 1000 R1 when R1 is negative.
      {"negative C2",
       -kDefaultC2,
       1e3,
       1,
       1,
       24,
       6,
       {-11e3, kNoR2, -22e3, -kDefaultC2, -kDefaultC2},
       682.057815270558,
       0.7071067811865476,
       1.0,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::MemoryForm form;
    calc::CalcState state;
    state.C2 = c.C2;
    calc::DesignBandPass(form, state, c.Fo, c.Q, c.H, c.series_r, c.series_c);
    EXPECT_EQ(state.R1, c.expected.R1);
    if (std::isnan(c.expected.R2)) {
      EXPECT_TRUE(std::isnan(state.R2));
    } else {
      EXPECT_EQ(state.R2, c.expected.R2);
    }
    EXPECT_EQ(state.R3, c.expected.R3);
    EXPECT_EQ(state.C1, c.expected.C1);
    EXPECT_EQ(state.C2, c.expected.C2);
    EXPECT_EQ(state.FoResult, c.fo);
    EXPECT_EQ(state.QResult, c.q);
    EXPECT_EQ(state.HResult, c.h);
    // The design shows nothing itself; it only warns.
    if (c.q_warning) {
      EXPECT_EQ(form.Log(), std::vector<std::string>{"warning=\"Q値の誤差が大きい\r\n"
                                                     "HまたはC2の値を微調整すると改善できます\""});
    } else {
      EXPECT_TRUE(form.events().empty());
    }
  }
}

TEST(DesignBandPass, FaultsKeepWhatWasComputedBefore) {
  struct Case {
    const char* name;
    double C2, H;
    Kind kind;
    bool r3_stored;
  };
  const Case cases[] = {
      {"gain 0: m / H", kDefaultC2, 0, Kind::kDivisionByZero, true},
      {"negative gain: square root of a negative", kDefaultC2, -1, Kind::kInvalidOperation, true},
      {"C2 0: C2 / C1 is 0 / 0", 0, 1, Kind::kInvalidOperation, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::MemoryForm form;
    calc::CalcState state;
    state.C2 = c.C2;
    try {
      calc::DesignBandPass(form, state, 1e3, 1, c.H, 24, 6);
      ADD_FAILURE() << "no FloatError";
    } catch (const calc::FloatError& error) {
      EXPECT_EQ(error.kind(), c.kind);
    }
    EXPECT_EQ(std::isnan(state.R3), !c.r3_stored);
    EXPECT_TRUE(form.events().empty());
  }
}

}  // namespace

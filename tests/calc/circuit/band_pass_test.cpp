#include "calc/circuit/band_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "calc/numeric/float_ops.h"

namespace {

using Kind = calc::FloatError::Kind;

constexpr double kNoR2 = calc::kNoValue;
// Component values as the parser reads "15n" or "4.7n": the digits divided by 10^9.
constexpr double Nano(double digits) { return digits / 1e9; }

using calc::Circuit;

// Expected doubles come from the worked examples and from evaluating the formulas by
// hand in the same grouping with correctly rounded IEEE arithmetic.
TEST(Analyze, ResultsToTheLastDigit) {
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
    const calc::TransferFunction result = calc::Analyze(c.circuit);
    EXPECT_EQ(result.Fo, c.fo);
    EXPECT_EQ(result.Q, c.q);
    EXPECT_EQ(result.H, c.h);
    EXPECT_EQ(std::signbit(result.Q), std::signbit(c.q));
  }
}

TEST(Analyze, ZeroR2IsAValueNotAMissingOne) {
  EXPECT_THROW(calc::Analyze({10e3, 0.0, 20e3, Nano(10), Nano(10)}), calc::FloatError);
}

// fo is computed before Q before H, and the fault is the one of the leftmost failing
// operation.
TEST(Analyze, FaultsStopAtTheFaultingOperation) {
  struct Case {
    const char* name;
    Circuit circuit;
    Kind kind;
  };
  const double huge = 1e200;
  const Case cases[] = {
      {"R1 zero", {0, 10e3, 20e3, Nano(10), Nano(10)}, Kind::kDivisionByZero},
      {"R1 zero without R2", {0, kNoR2, 20e3, Nano(10), Nano(10)}, Kind::kDivisionByZero},
      {"C2 zero", {10e3, 10e3, 20e3, Nano(10), 0}, Kind::kDivisionByZero},
      {"negative R1 without R2", {-10e3, kNoR2, 20e3, Nano(10), Nano(10)}, Kind::kInvalidOperation},
      {"negative conductance sum", {10e3, -5e3, 20e3, Nano(10), Nano(10)}, Kind::kInvalidOperation},
      // fo's square root is fine; Q's divisor C1/C2 + 1 is zero.
      {"C1 = -C2", {10e3, 10e3, -20e3, Nano(-10), Nano(10)}, Kind::kDivisionByZero},
      // fo's square root fails before Q's divisor C1/C2 + 1 = 0 is reached.
      {"C1 = -C2, square root first",
       {10e3, 10e3, 20e3, Nano(-10), Nano(10)},
       Kind::kInvalidOperation},
      {"product overflows", {10e3, 10e3, huge, huge, huge}, Kind::kOverflow},
      // Both 1/R1 (division by zero) and R3 C1 (overflow) fail; 1/R1 stands left.
      {"leftmost fault wins", {0, 10e3, huge, huge, Nano(10)}, Kind::kDivisionByZero},
      {"both capacitors zero", {10e3, 10e3, 20e3, 0, 0}, Kind::kDivisionByZero},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      calc::Analyze(c.circuit);
      ADD_FAILURE() << "no FloatError";
    } catch (const calc::FloatError& error) {
      EXPECT_EQ(error.kind(), c.kind);
    }
  }
}

// C2 as the design chooses it for 1 kHz and 10 kOhm from E6: 1.5 x exp(-8 ln 10).
constexpr double kDefaultC2 = 1.4999999999999492e-08;

TEST(DesignAroundC2, ComponentsAndAchievedValues) {
  struct Case {
    const char* name;
    double C2, Fo, Q, H;
    std::int32_t series_r, series_c;
    Circuit expected;
    double fo, q, h;
    bool q_missed;
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
    calc::DesignRequest request;
    request.Fo = c.Fo;
    request.Q = c.Q;
    request.H = c.H;
    request.SeriesR = c.series_r;
    request.SeriesC = c.series_c;
    const calc::DesignResult result = calc::DesignAroundC2(request, c.C2);
    const Circuit& circuit = result.Snapped;
    EXPECT_EQ(circuit.R1, c.expected.R1);
    if (std::isnan(c.expected.R2)) {
      EXPECT_FALSE(circuit.HasR2());
    } else {
      EXPECT_EQ(circuit.R2, c.expected.R2);
    }
    EXPECT_EQ(circuit.R3, c.expected.R3);
    EXPECT_EQ(circuit.C1, c.expected.C1);
    EXPECT_EQ(circuit.C2, c.expected.C2);
    EXPECT_EQ(result.Achieved.Fo, c.fo);
    EXPECT_EQ(result.Achieved.Q, c.q);
    EXPECT_EQ(result.Achieved.H, c.h);
    EXPECT_EQ(result.QMissed, c.q_missed);
  }
}

TEST(DesignAroundC2, FaultsRaiseAtTheFaultingOperation) {
  struct Case {
    const char* name;
    double C2, H;
    Kind kind;
  };
  const Case cases[] = {
      {"gain 0: m / H", kDefaultC2, 0, Kind::kDivisionByZero},
      {"negative gain: square root of a negative", kDefaultC2, -1, Kind::kInvalidOperation},
      {"C2 0: C2 / C1 is 0 / 0", 0, 1, Kind::kInvalidOperation},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calc::DesignRequest request{1e3, 1, c.H, calc::kNoValue, 24, 6};
    try {
      calc::DesignAroundC2(request, c.C2);
      ADD_FAILURE() << "no FloatError";
    } catch (const calc::FloatError& error) {
      EXPECT_EQ(error.kind(), c.kind);
    }
  }
}

// A locked C2 is kept exactly as typed, off the series too; without one the capacitor
// comes from fo and the reference impedance, and Design is the two steps in a row.
TEST(Design, ChoosesC2ThenDesignsAroundIt) {
  calc::DesignRequest request{1e3, 1, 1, 10e3, 24, 6};
  EXPECT_EQ(calc::ChooseC2(request), kDefaultC2);
  const calc::DesignResult chosen = calc::Design(request);
  EXPECT_EQ(chosen.Snapped.C2, kDefaultC2);
  EXPECT_EQ(chosen.Achieved.Q, 0.9999999999999999);

  request.LockedC2 = Nano(4.3);
  EXPECT_EQ(calc::ChooseC2(request), Nano(4.3));
  request.Zref = calc::kNoValue;  // not needed once C2 is locked
  EXPECT_EQ(calc::Design(request).Snapped.C1, Nano(4.3));

  request.LockedC2 = calc::kNoValue;
  request.Zref = 0;
  EXPECT_THROW(calc::ChooseC2(request), calc::FloatError);
}

}  // namespace

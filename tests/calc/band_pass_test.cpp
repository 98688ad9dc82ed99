#include "calc/band_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/calc_state.h"
#include "calc/float_ops.h"

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

}  // namespace

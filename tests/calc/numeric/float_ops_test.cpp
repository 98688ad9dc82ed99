#include "calc/numeric/float_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace {

using calc::FloatError;
using Kind = FloatError::Kind;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMinSub = std::numeric_limits<double>::denorm_min();

// Runs `op` and reports the kind it raised, or fails when it raised nothing.
template <typename Op>
Kind KindRaisedBy(Op op) {
  try {
    op();
  } catch (const FloatError& error) {
    return error.kind();
  }
  ADD_FAILURE() << "no FloatError raised";
  return Kind::kInvalidOperation;
}

TEST(FloatError, MessagesAreTheTextsTheUserReads) {
  EXPECT_STREQ(FloatError(Kind::kDivisionByZero).what(), "Floating point division by zero");
  EXPECT_STREQ(FloatError(Kind::kInvalidOperation).what(), "Invalid floating point operation");
  EXPECT_STREQ(FloatError(Kind::kOverflow).what(), "Floating point overflow");
  EXPECT_EQ(FloatError(Kind::kOverflow).kind(), Kind::kOverflow);
}

TEST(FloatOps, HeaderExamples) {
  EXPECT_EQ(KindRaisedBy([] { calc::Div(1, 0); }), Kind::kDivisionByZero);
  EXPECT_EQ(KindRaisedBy([] { calc::Div(0, 0); }), Kind::kInvalidOperation);
  EXPECT_EQ(KindRaisedBy([] { calc::Mul(1e200, 1e200); }), Kind::kOverflow);
  EXPECT_EQ(calc::Div(1e-300, 1e300), 0.0);
  EXPECT_EQ(KindRaisedBy([] { calc::Sqrt(-1); }), Kind::kInvalidOperation);
  EXPECT_TRUE(std::signbit(calc::Sqrt(-0.0)));
  EXPECT_EQ(calc::RoundToInt64(2.5), 2);
  EXPECT_EQ(calc::RoundToInt64(3.5), 4);
  EXPECT_EQ(calc::RoundToInt64(-2.5), -2);
  EXPECT_EQ(calc::TruncToInt64(-1.5), -1);
}

struct BinaryCase {
  const char* name;
  std::function<double(double, double)> op;
  double a, b;
};

TEST(FloatOps, FaultsRaiseTheirKind) {
  struct Case {
    BinaryCase operation;
    Kind kind;
  };
  const Case cases[] = {
      {{"1 / 0", calc::Div, 1, 0}, Kind::kDivisionByZero},
      {{"-1 / -0", calc::Div, -1, -0.0}, Kind::kDivisionByZero},
      {{"subnormal / 0", calc::Div, kMinSub, 0}, Kind::kDivisionByZero},
      {{"0 / 0", calc::Div, 0, 0}, Kind::kInvalidOperation},
      {{"-0 / 0", calc::Div, -0.0, 0}, Kind::kInvalidOperation},
      {{"inf / inf", calc::Div, kInf, -kInf}, Kind::kInvalidOperation},
      {{"max / 0.5", calc::Div, kMax, 0.5}, Kind::kOverflow},
      {{"1e300 / 1e-300", calc::Div, 1e300, 1e-300}, Kind::kOverflow},
      {{"inf - inf", calc::Sub, kInf, kInf}, Kind::kInvalidOperation},
      {{"inf + -inf", calc::Add, kInf, -kInf}, Kind::kInvalidOperation},
      {{"max + max", calc::Add, kMax, kMax}, Kind::kOverflow},
      {{"-max - max", calc::Sub, -kMax, kMax}, Kind::kOverflow},
      {{"0 * inf", calc::Mul, 0, kInf}, Kind::kInvalidOperation},
      {{"-inf * 0", calc::Mul, -kInf, 0}, Kind::kInvalidOperation},
      {{"-1e200 * 1e200", calc::Mul, -1e200, 1e200}, Kind::kOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation.name);
    EXPECT_EQ(KindRaisedBy([&] { c.operation.op(c.operation.a, c.operation.b); }), c.kind);
  }
}

TEST(FloatOps, QuietResults) {
  struct Case {
    BinaryCase operation;
    double expected;
  };
  const Case cases[] = {
      {{"underflow to zero", calc::Mul, 1e-200, 1e-200}, 0.0},
      {{"underflow to subnormal", calc::Div, 1e-300, 1e10}, 1e-310},
      {{"inexact", calc::Div, 1, 3}, 1.0 / 3.0},
      {{"max stays finite", calc::Mul, kMax, 1}, kMax},
      {{"inf operand, inf result", calc::Add, kInf, 1}, kInf},
      {{"inf times finite", calc::Mul, kInf, -2}, -kInf},
      {{"finite / inf", calc::Div, 1, kInf}, 0.0},
      {{"sum", calc::Add, 0.1, 0.2}, 0.30000000000000004},
      {{"difference", calc::Sub, 1, 0.9}, 0.09999999999999998},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation.name);
    EXPECT_EQ(c.operation.op(c.operation.a, c.operation.b), c.expected);
  }
}

TEST(FloatOps, QuietNaNOperandsPassThrough) {
  EXPECT_TRUE(std::isnan(calc::Add(kNaN, 1)));
  EXPECT_TRUE(std::isnan(calc::Mul(kNaN, kInf)));
  EXPECT_TRUE(std::isnan(calc::Div(kNaN, 0)));
  EXPECT_TRUE(std::isnan(calc::Div(1, kNaN)));
  EXPECT_TRUE(std::isnan(calc::Sqrt(kNaN)));
  EXPECT_TRUE(std::isnan(calc::Exp(kNaN)));
  EXPECT_TRUE(std::isnan(calc::Ln(kNaN)));
}

TEST(FloatOps, ElementaryFunctions) {
  EXPECT_EQ(calc::Sqrt(4), 2.0);
  EXPECT_EQ(calc::Sqrt(2), 1.4142135623730951);
  EXPECT_EQ(calc::Sqrt(kInf), kInf);
  EXPECT_EQ(KindRaisedBy([] { calc::Sqrt(-kMinSub); }), Kind::kInvalidOperation);
  EXPECT_EQ(KindRaisedBy([] { calc::Sqrt(-kInf); }), Kind::kInvalidOperation);

  EXPECT_EQ(calc::Exp(0), 1.0);
  EXPECT_EQ(calc::Exp(1), 2.718281828459045);
  EXPECT_EQ(calc::Exp(-1000), 0.0);  // underflow is quiet
  EXPECT_EQ(calc::Exp(-kInf), 0.0);
  EXPECT_EQ(calc::Exp(kInf), kInf);  // an infinite operand is no overflow
  EXPECT_GT(calc::Exp(709), 8e307);  // the largest whole argument that still fits
  EXPECT_EQ(KindRaisedBy([] { calc::Exp(710); }), Kind::kOverflow);

  EXPECT_EQ(calc::Ln(1), 0.0);
  EXPECT_EQ(calc::Ln(10), 2.302585092994046);
  EXPECT_EQ(calc::Ln(kInf), kInf);
  EXPECT_EQ(KindRaisedBy([] { calc::Ln(0); }), Kind::kDivisionByZero);
  EXPECT_EQ(KindRaisedBy([] { calc::Ln(-0.0); }), Kind::kDivisionByZero);
  EXPECT_EQ(KindRaisedBy([] { calc::Ln(-1e-300); }), Kind::kInvalidOperation);
  EXPECT_EQ(KindRaisedBy([] { calc::Ln(-kInf); }), Kind::kInvalidOperation);
}

TEST(FloatOps, RoundingToIntegerIsTiesToEven) {
  struct Case {
    double value;
    std::int64_t rounded, truncated;
  };
  const Case cases[] = {
      {0.5, 0, 0},
      {1.5, 2, 1},
      {2.5, 2, 2},
      {-0.5, 0, 0},
      {-1.5, -2, -1},
      {-3.5, -4, -3},
      {0.49999999999999994, 0, 0},  // the double just below one half
      {2.5000000000000004, 3, 2},
      {-2.4999999999999996, -2, -2},
      {168.49999999999997, 168, 168},
      {4503599627370495.5, 4503599627370496, 4503599627370495},  // 2^52 - 0.5
      {4503599627370497.0, 4503599627370497, 4503599627370497},
      {-9223372036854775808.0, INT64_MIN, INT64_MIN},                     // -2^63 fits
      {9223372036854774784.0, 9223372036854774784, 9223372036854774784},  // below 2^63
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value);
    EXPECT_EQ(calc::RoundToInt64(c.value), c.rounded);
    EXPECT_EQ(calc::TruncToInt64(c.value), c.truncated);
  }
}

TEST(FloatOps, ConversionOutsideTheIntegerRangeIsInvalid) {
  const double values[] = {
      9223372036854775808.0, -9223372036854777856.0, 1e300, -1e300, kInf, -kInf, kNaN};
  for (double value : values) {
    SCOPED_TRACE(testing::Message() << value);
    EXPECT_EQ(KindRaisedBy([&] { calc::RoundToInt64(value); }), Kind::kInvalidOperation);
    EXPECT_EQ(KindRaisedBy([&] { calc::TruncToInt64(value); }), Kind::kInvalidOperation);
  }
}

}  // namespace

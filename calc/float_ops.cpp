// Each helper performs the IEEE operation and then looks at its operands and result to
// decide whether one of the three promised faults happened. The checks are explicit so
// that the behaviour does not depend on compiler or platform floating-point flags or
// traps; quiet NaN operands pass through quietly, as in IEEE arithmetic.
#include "calc/float_ops.h"

#include <cmath>

namespace calc {
namespace {

const char* MessageOf(FloatError::Kind kind) {
  switch (kind) {
    case FloatError::Kind::kDivisionByZero:
      return "Floating point division by zero";
    case FloatError::Kind::kOverflow:
      return "Floating point overflow";
    case FloatError::Kind::kInvalidOperation:
      break;
  }
  return "Invalid floating point operation";
}

[[noreturn]] void Raise(FloatError::Kind kind) { throw FloatError(kind); }

// The result of an operation on the operands a and b (b may repeat a for one operand):
// a NaN made from non-NaN operands is an invalid operation (inf - inf, 0 * inf, inf / inf),
// an infinity made from finite operands is an overflow.
double Checked(double result, double a, double b) {
  if (std::isnan(result)) {
    if (!std::isnan(a) && !std::isnan(b)) Raise(FloatError::Kind::kInvalidOperation);
  } else if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
    Raise(FloatError::Kind::kOverflow);
  }
  return result;
}

// 2^63 as a double: the first value above the int64 range. -2^63 is the last value in it.
constexpr double kTwoTo63 = 9223372036854775808.0;

std::int64_t ToInt64(double whole) {
  // `whole` has no fraction; NaN fails both comparisons.
  if (!(whole >= -kTwoTo63 && whole < kTwoTo63)) Raise(FloatError::Kind::kInvalidOperation);
  return static_cast<std::int64_t>(whole);
}

}  // namespace

FloatError::FloatError(Kind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}

double Add(double a, double b) { return Checked(a + b, a, b); }
double Sub(double a, double b) { return Checked(a - b, a, b); }
double Mul(double a, double b) { return Checked(a * b, a, b); }

double Div(double a, double b) {
  if (b == 0.0 && !std::isnan(a)) {
    Raise(a == 0.0 ? FloatError::Kind::kInvalidOperation : FloatError::Kind::kDivisionByZero);
  }
  return Checked(a / b, a, b);
}

double Sqrt(double a) {
  if (a < 0.0) Raise(FloatError::Kind::kInvalidOperation);
  return std::sqrt(a);
}

double Exp(double a) { return Checked(std::exp(a), a, a); }

double Ln(double a) {
  if (a < 0.0) Raise(FloatError::Kind::kInvalidOperation);
  if (a == 0.0) Raise(FloatError::Kind::kDivisionByZero);
  return std::log(a);
}

std::int64_t RoundToInt64(double a) {
  if (!std::isfinite(a)) Raise(FloatError::Kind::kInvalidOperation);
  // Round half to even by hand rather than through the current rounding mode: the
  // fraction a - trunc(a) is exact, so the tie test is exact too.
  double whole = std::trunc(a);
  const double fraction = a - whole;
  const bool whole_is_odd = std::fmod(whole, 2.0) != 0.0;
  if (fraction > 0.5 || (fraction == 0.5 && whole_is_odd)) {
    whole += 1.0;
  } else if (fraction < -0.5 || (fraction == -0.5 && whole_is_odd)) {
    whole -= 1.0;
  }
  return ToInt64(whole);
}

std::int64_t TruncToInt64(double a) {
  if (!std::isfinite(a)) Raise(FloatError::Kind::kInvalidOperation);
  return ToInt64(std::trunc(a));
}

}  // namespace calc

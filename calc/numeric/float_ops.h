// Floating-point operations that fail the way the calculator promises: an invalid
// operation, a division by zero or an overflow raises FloatError at the operation that
// caused it, while underflow and inexact results stay quiet. Each helper is one IEEE
// double operation, so a formula written with them keeps its grouping and rounding.
#ifndef KORVANE_CALC_NUMERIC_FLOAT_OPS_H
#define KORVANE_CALC_NUMERIC_FLOAT_OPS_H

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace calc {

// The message is the text the user reads in the error box (the box adds the full stop).
class FloatError : public std::runtime_error {
 public:
  enum class Kind { kDivisionByZero, kInvalidOperation, kOverflow };
  explicit FloatError(Kind kind);
  Kind kind() const noexcept { return kind_; }

 private:
  Kind kind_;
};

// Div(1, 0) throws kDivisionByZero; Div(0, 0) throws kInvalidOperation;
// Mul(1e200, 1e200) throws kOverflow; Div(1e-300, 1e300) -> 0 (underflow is quiet).
// Invalid: inf - inf, 0 * inf, inf / inf, 0 / 0. Overflow: an infinite result from finite
// operands. A quiet NaN operand gives NaN without an error, as in IEEE arithmetic.
inline double Add(double a, double b);
inline double Sub(double a, double b);
inline double Mul(double a, double b);
inline double Div(double a, double b);
inline double Sqrt(double a);  // a < 0: kInvalidOperation; Sqrt(-0.0) -> -0.0
inline double Exp(double a);   // finite a with an infinite result: kOverflow
inline double Ln(double a);    // a < 0: kInvalidOperation; a == 0: kDivisionByZero

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// A value that is not finite or lies outside the 64-bit range: kInvalidOperation.
inline std::int64_t RoundToInt64(double a);
// Truncates toward zero (-1.5 -> -1); the same failures as RoundToInt64.
inline std::int64_t TruncToInt64(double a);

// ---------------------------------------------------------------------------------------
// Definitions. They are inline because every formula step goes through one of them; the
// throwing path stays out of line. The checks look at operands and result explicitly,
// so the behaviour does not depend on compiler or platform floating-point flags or traps.

namespace float_ops_detail {

[[noreturn]] void Raise(FloatError::Kind kind);

// A NaN made from non-NaN operands is an invalid operation (inf - inf, 0 * inf,
// inf / inf); an infinity made from finite operands is an overflow. For a one-operand
// operation pass the operand twice.
inline double Checked(double result, double a, double b) {
  if (std::isnan(result)) {
    if (!std::isnan(a) && !std::isnan(b)) Raise(FloatError::Kind::kInvalidOperation);
  } else if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
    Raise(FloatError::Kind::kOverflow);
  }
  return result;
}

// 2^63, the first double above the int64 range; -2^63 is the last one in it. NaN fails
// the test too.
inline bool FitsInt64(double a) { return a >= -9223372036854775808.0 && a < 9223372036854775808.0; }

}  // namespace float_ops_detail

inline double Add(double a, double b) { return float_ops_detail::Checked(a + b, a, b); }
inline double Sub(double a, double b) { return float_ops_detail::Checked(a - b, a, b); }
inline double Mul(double a, double b) { return float_ops_detail::Checked(a * b, a, b); }

inline double Div(double a, double b) {
  if (b == 0.0 && !std::isnan(a)) {
    float_ops_detail::Raise(a == 0.0 ? FloatError::Kind::kInvalidOperation
                                     : FloatError::Kind::kDivisionByZero);
  }
  return float_ops_detail::Checked(a / b, a, b);
}

inline double Sqrt(double a) {
  if (a < 0.0) float_ops_detail::Raise(FloatError::Kind::kInvalidOperation);
  return std::sqrt(a);
}

inline double Exp(double a) { return float_ops_detail::Checked(std::exp(a), a, a); }

inline double Ln(double a) {
  if (a < 0.0) float_ops_detail::Raise(FloatError::Kind::kInvalidOperation);
  if (a == 0.0) float_ops_detail::Raise(FloatError::Kind::kDivisionByZero);
  return std::log(a);
}

inline std::int64_t RoundToInt64(double a) {
  if (!float_ops_detail::FitsInt64(a)) {
    float_ops_detail::Raise(FloatError::Kind::kInvalidOperation);
  }
  // Ties to even by hand rather than through the current rounding mode. A fraction is
  // possible only below 2^52, where whole and a - whole are exact.
  std::int64_t whole = static_cast<std::int64_t>(a);  // toward zero
  const double fraction = a - static_cast<double>(whole);
  const bool odd = (whole & 1) != 0;
  if (fraction > 0.5 || (fraction == 0.5 && odd)) {
    ++whole;
  } else if (fraction < -0.5 || (fraction == -0.5 && odd)) {
    --whole;
  }
  return whole;
}

inline std::int64_t TruncToInt64(double a) {
  if (!float_ops_detail::FitsInt64(a)) {
    float_ops_detail::Raise(FloatError::Kind::kInvalidOperation);
  }
  return static_cast<std::int64_t>(a);
}

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_FLOAT_OPS_H

// Floating-point operations that fail the way the calculator promises: an invalid
// operation, a division by zero or an overflow raises FloatError at the operation that
// caused it, while underflow and inexact results stay quiet. Each helper is one IEEE
// double operation, so a formula written with them keeps its grouping and rounding.
#ifndef KORVANE_CALC_FLOAT_OPS_H
#define KORVANE_CALC_FLOAT_OPS_H

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
double Add(double a, double b);
double Sub(double a, double b);
double Mul(double a, double b);
double Div(double a, double b);
double Sqrt(double a);  // a < 0: kInvalidOperation; Sqrt(-0.0) -> -0.0
double Exp(double a);   // finite a with an infinite result: kOverflow
double Ln(double a);    // a < 0: kInvalidOperation; a == 0: kDivisionByZero

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// A value that is not finite or lies outside the 64-bit range: kInvalidOperation.
std::int64_t RoundToInt64(double a);
// Truncates toward zero (-1.5 -> -1); the same failures as RoundToInt64.
std::int64_t TruncToInt64(double a);

}  // namespace calc

#endif  // KORVANE_CALC_FLOAT_OPS_H

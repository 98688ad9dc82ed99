// PLACEHOLDER: replaced by the real implementation.
#include "calc/float_ops.h"
namespace calc {
FloatError::FloatError(Kind kind)
    : std::runtime_error("Invalid floating point operation"), kind_(kind) {}
double Add(double a, double b) { return a + b; }
double Sub(double a, double b) { return a - b; }
double Mul(double a, double b) { return a * b; }
double Div(double a, double b) { return a / b; }
double Sqrt(double a) { return a; }
double Exp(double a) { return a; }
double Ln(double a) { return a; }
std::int64_t RoundToInt64(double) { return 0; }
std::int64_t TruncToInt64(double) { return 0; }
}  // namespace calc

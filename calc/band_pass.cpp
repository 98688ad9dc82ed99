// The formulas are written one checked operation per call, in the grouping shown in each
// comment: a regrouped formula changes the last digit, and the last digit is shown (the
// default design's Q of 0.9999999999999999 reads "1000.000m").
//
// C++ leaves the order in which a call's arguments are evaluated open. Which fault is
// reported first must not depend on the compiler, so no call here has more than one
// argument that can raise: where two operands both need work, the left one is computed
// first into a named value.
#include "calc/band_pass.h"

#include <cmath>

#include "calc/float_ops.h"

namespace calc {
namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

void AnalyzeBandPass(CalcState& state, double R1, double R2, double R3, double C1, double C2) {
  if (!std::isnan(R2)) {
    // fo = sqrt((1/R1 + 1/R2) / ((R3 C1) C2)) / 2pi
    const double g1 = Div(1.0, R1);
    const double conductance = Add(g1, Div(1.0, R2));
    state.FoResult = Div(Sqrt(Div(conductance, Mul(Mul(R3, C1), C2))), kTwoPi);
    // Q = sqrt(((((R1 + R2) / (R1 R2)) R3) C1) / C2) / (C1/C2 + 1)
    const double sum = Add(R1, R2);
    const double ratio = Div(sum, Mul(R1, R2));
    const double root = Sqrt(Div(Mul(Mul(ratio, R3), C1), C2));
    state.QResult = Div(root, Add(Div(C1, C2), 1.0));
  } else {
    // Without R2: fo = sqrt(1 / (((R1 R3) C1) C2)) / 2pi
    state.FoResult = Div(Sqrt(Div(1.0, Mul(Mul(Mul(R1, R3), C1), C2))), kTwoPi);
    // Q = sqrt(((R3 / R1) C1) / C2) / (C1/C2 + 1)
    const double root = Sqrt(Div(Mul(Div(R3, R1), C1), C2));
    state.QResult = Div(root, Add(Div(C1, C2), 1.0));
  }
  // H = R3 / (R1 (C1/C2 + 1)), the same with and without R2.
  state.HResult = Div(R3, Mul(R1, Add(Div(C1, C2), 1.0)));
}

void DesignBandPass(Form&, CalcState&, double, double, double, std::int32_t, std::int32_t) {}

}  // namespace calc

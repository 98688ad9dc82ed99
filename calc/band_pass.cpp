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
#include "calc/preferred_values.h"

namespace calc {
namespace {

constexpr char16_t kQErrorWarning[] =
    u"Q値の誤差が大きい\r\nHまたはC2の値を微調整すると改善できます";

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

void DesignBandPass(Form& form, CalcState& state, double Fo, double Q, double H,
                    std::int32_t SeriesR, std::int32_t SeriesC) {
  const double C2 = state.C2;
  const double omega = Mul(Fo, kTwoPi);

  // A gain above 2Q^2 needs C1 below C2; otherwise C1 = C2 (already a series value or the
  // user's own, so it is not snapped again).
  if (H > Mul(Mul(Q, Q), 2.0)) {
    state.C1 = SnapToSeries(Div(C2, Sub(Div(H, Mul(Q, Q)), 1.0)), SeriesC);
  } else {
    state.C1 = C2;
  }
  const double C1 = state.C1;

  // m = ((C2/C1 + 1) Q) Q: the gain at which R2 grows without bound.
  const double m = Mul(Mul(Add(Div(C2, C1), 1.0), Q), Q);
  const double k = Div(C1, C2);
  // Rp = 1 / (((Q (k + 1)) C2) omega): R1 and R2 in parallel.
  const double Rp = Div(1.0, Mul(Mul(Mul(Q, Add(k, 1.0)), C2), omega));
  // R3 = Rp ((q q) / k) with q = Q (k + 1).
  const double q = Mul(Q, Add(k, 1.0));
  state.R3 = SnapToSeries(Mul(Rp, Div(Mul(q, q), k)), SeriesR);
  state.R1 = SnapToSeries(Mul(Div(m, H), Rp), SeriesR);
  if (H >= m) {
    state.R2 = kNoValue;
  } else {
    state.R2 = SnapToSeries(Div(Rp, Sub(1.0, Div(H, m))), SeriesR);
    // An R2 a thousand times R1 hardly changes the circuit: leave it out.
    if (state.R2 > Mul(state.R1, 1000.0)) state.R2 = kNoValue;
  }

  AnalyzeBandPass(state, state.R1, state.R2, state.R3, C1, C2);

  // |Q - QResult| / Q > 3 %
  if (Div(std::fabs(Sub(Q, state.QResult)), Q) > 0.03) form.ShowWarning(kQErrorWarning);
}

}  // namespace calc

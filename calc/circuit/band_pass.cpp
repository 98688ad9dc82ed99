// The formulas are written one checked operation per call, in the grouping shown in each
// comment: a regrouped formula changes the last digit, and the last digit is shown (the
// default design's Q of 0.9999999999999999 reads "1000.000m").
//
// C++ leaves the order in which a call's arguments are evaluated open. Which fault is
// reported first must not depend on the compiler, so no call here has more than one
// argument that can raise: where two operands both need work, the left one is computed
// first into a named value.
#include "calc/circuit/band_pass.h"

#include <cmath>

#include "calc/circuit/preferred_values.h"
#include "calc/numeric/float_ops.h"

namespace calc {
namespace {

// The closed form's terms for a capacitor pair, at the angular frequency omega and the
// quality factor Q.
struct PairTerms {
  double m = 0.0;   // ((C2/C1 + 1) Q) Q: the gain at which R2 grows without bound
  double k = 0.0;   // C1 / C2
  double Rp = 0.0;  // 1 / (((Q (k + 1)) C2) omega): R1 and R2 in parallel
  double q = 0.0;   // Q (k + 1)
};

PairTerms TermsOf(double omega, double Q, double C1, double C2) {
  PairTerms t;
  t.m = Mul(Mul(Add(Div(C2, C1), 1.0), Q), Q);
  t.k = Div(C1, C2);
  t.Rp = Div(1.0, Mul(Mul(Mul(Q, Add(t.k, 1.0)), C2), omega));
  t.q = Mul(Q, Add(t.k, 1.0));
  return t;
}

// R3 = Rp ((q q) / k)
double ExactR3(const PairTerms& t) { return Mul(t.Rp, Div(Mul(t.q, t.q), t.k)); }
// R1 = (m / H) Rp
double ExactR1(const PairTerms& t, double H) { return Mul(Div(t.m, H), t.Rp); }
// R2 only below m; a gain that is no number takes this path too.
bool NeedsR2(const PairTerms& t, double H) { return !(H >= t.m); }
// R2 = Rp / (1 - H / m)
double ExactR2(const PairTerms& t, double H) { return Div(t.Rp, Sub(1.0, Div(H, t.m))); }

}  // namespace

TransferFunction Analyze(const Circuit& circuit) {
  const double R1 = circuit.R1, R2 = circuit.R2, R3 = circuit.R3;
  const double C1 = circuit.C1, C2 = circuit.C2;
  TransferFunction result;
  if (circuit.HasR2()) {
    // fo = sqrt((1/R1 + 1/R2) / ((R3 C1) C2)) / 2pi
    const double g1 = Div(1.0, R1);
    const double conductance = Add(g1, Div(1.0, R2));
    result.Fo = Div(Sqrt(Div(conductance, Mul(Mul(R3, C1), C2))), kTwoPi);
    // Q = sqrt(((((R1 + R2) / (R1 R2)) R3) C1) / C2) / (C1/C2 + 1)
    const double sum = Add(R1, R2);
    const double ratio = Div(sum, Mul(R1, R2));
    const double root = Sqrt(Div(Mul(Mul(ratio, R3), C1), C2));
    result.Q = Div(root, Add(Div(C1, C2), 1.0));
  } else {
    // Without R2: fo = sqrt(1 / (((R1 R3) C1) C2)) / 2pi
    result.Fo = Div(Sqrt(Div(1.0, Mul(Mul(Mul(R1, R3), C1), C2))), kTwoPi);
    // Q = sqrt(((R3 / R1) C1) / C2) / (C1/C2 + 1)
    const double root = Sqrt(Div(Mul(Div(R3, R1), C1), C2));
    result.Q = Div(root, Add(Div(C1, C2), 1.0));
  }
  // H = R3 / (R1 (C1/C2 + 1)), the same with and without R2.
  result.H = Div(R3, Mul(R1, Add(Div(C1, C2), 1.0)));
  return result;
}

double ChooseC2(const DesignRequest& request) {
  if (!std::isnan(request.LockedC2)) return request.LockedC2;
  // C = 1 / ((fo 2pi) Zref), snapped.
  return SnapToSeries(Div(1.0, Mul(Mul(request.Fo, kTwoPi), request.Zref)), request.SeriesC);
}

DesignResult DesignAroundC2(const DesignRequest& request, double C2) {
  const double Fo = request.Fo, Q = request.Q, H = request.H;
  DesignResult result;
  Circuit& circuit = result.Snapped;
  circuit.C2 = C2;
  const double omega = Mul(Fo, kTwoPi);

  // A gain above 2Q^2 needs C1 below C2; otherwise C1 = C2 (already a series value or the
  // user's own, so it is not snapped again).
  if (H > Mul(Mul(Q, Q), 2.0)) {
    circuit.C1 = SnapToSeries(Div(C2, Sub(Div(H, Mul(Q, Q)), 1.0)), request.SeriesC);
  } else {
    circuit.C1 = C2;
  }
  const double C1 = circuit.C1;

  const PairTerms terms = TermsOf(omega, Q, C1, C2);
  circuit.R3 = SnapToSeries(ExactR3(terms), request.SeriesR);
  circuit.R1 = SnapToSeries(ExactR1(terms, H), request.SeriesR);
  if (NeedsR2(terms, H)) {
    circuit.R2 = SnapToSeries(ExactR2(terms, H), request.SeriesR);
    // An R2 a thousand times R1 hardly changes the circuit: leave it out.
    if (circuit.R2 > Mul(circuit.R1, 1000.0)) circuit.R2 = kNoValue;
  }

  result.Achieved = Analyze(circuit);
  // |Q - Q achieved| / Q > 3 %
  result.QMissed = Div(std::fabs(Sub(Q, result.Achieved.Q)), Q) > 0.03;
  return result;
}

Circuit ExactResistors(const TransferFunction& target, double C1, double C2) {
  const double omega = Mul(target.Fo, kTwoPi);
  const PairTerms terms = TermsOf(omega, target.Q, C1, C2);
  Circuit circuit;
  circuit.C1 = C1;
  circuit.C2 = C2;
  circuit.R3 = ExactR3(terms);
  circuit.R1 = ExactR1(terms, target.H);
  if (NeedsR2(terms, target.H)) circuit.R2 = ExactR2(terms, target.H);
  return circuit;
}

DesignResult Design(const DesignRequest& request) {
  const double C2 = ChooseC2(request);
  return DesignAroundC2(request, C2);
}

}  // namespace calc

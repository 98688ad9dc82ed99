// Why the solved figures are the measured ones.
//
// CircuitResponse solves the two node equations by Cramer's rule: Vout = y1 a21 / det with
// a21 = s C2 and det a real polynomial in s of degree three at most (ResponsePolynomialOf
// writes out its coefficients). With x = w^2,
//   |D(jw)|^2 = (D0 - D2 x)^2 + x (D1 - D3 x)^2 = F(x),
// a cubic in x whose x^3 coefficient D3^2 is not negative, and |H|^2 is proportional to
// x / F(x). Its stationary points solve F(x) - x F'(x) = 0, which is
//   2 D3^2 x^3 + (D2^2 - 2 D1 D3) x^2 - D0^2 = 0:
// one change of sign in the coefficients, so by Descartes' rule exactly one positive root.
// The response has one peak and no other maximum. F(x) / x = D0^2 / x + ... + D3^2 x^2 is
// convex for x > 0, so the band where the power is at least half the peak's is one
// interval, bounded by the two -3 dB points.
//
// MeasureResponse samples 40 points a decade over eight decades either side of its guess
// (the ideal fo): with one peak, the highest sample lies within one step of it, and the
// slope changes sign once in that bracket, where the measurement refines the peak to
// 1e-7 relative or better. From the peak it walks out until the power falls below half,
// which with one interval brackets each -3 dB point, and bisects to adjacent doubles. So
// wherever the peak and both -3 dB points lie inside that reach, the measured figures are
// these up to the measurement's own precision and rounding; the tests hold the two within
// 1e-7 of each other over circuits from Q 0.5 to 1000, and kSolvedFigureMargin is ten times
// that.
//
// The solving is done on a normalised form: with x = x0 u, x0 = D0 / D2,
//   F / (D0^2 u) = f(u) = (1 - u)^2 / u + rho (1 - sigma u)^2,
//   rho = D1^2 / (D0 D2), sigma = D3 D0 / (D1 D2),
// whose minimum is the peak and where f = 2 f(peak) are the -3 dB points. f is convex
// (f'' = 2 / u^3 + 2 rho sigma^2 > 0), so a Newton step kept inside a bracket finds each
// root in a handful of steps.
#include "calc/analysis/response_polynomial.h"

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <optional>

#include "calc/circuit/band_pass.h"

namespace calc {
namespace {

bool PositiveFinite(double x) { return std::isfinite(x) && x > 0.0; }

struct Normalised {
  double rho = 0.0, sigma = 0.0;
  double F(double u) const {
    const double a = 1.0 - u, b = 1.0 - sigma * u;
    return a * a / u + rho * b * b;
  }
  double Slope(double u) const {
    return (u * u - 1.0) / (u * u) - 2.0 * rho * sigma * (1.0 - sigma * u);
  }
};

// The root of `g` in [lo, hi], where g(lo) and g(hi) differ in sign, by Newton steps on
// `slope` from `start`, kept inside the bracket by halving it where a step would leave.
// From the side where the function bends away from its tangent (a convex function from
// outside the band, the peak's concave slope from below) the steps approach the root
// without overshoot, so only rounding ever calls for a halving.
template <typename G, typename Slope>
double RootInBracket(double lo, double hi, double start, G g, Slope slope) {
  const bool rising = g(hi) > 0.0;
  double u = start;
  for (int i = 0; i < 100; ++i) {
    const double value = g(u);
    if (value == 0.0) return u;
    if ((value > 0.0) == rising) {
      hi = u;
    } else {
      lo = u;
    }
    double next = u - value / slope(u);
    if (!(next >= lo && next <= hi)) next = 0.5 * (lo + hi);
    if (std::fabs(next - u) <= 2.0 * std::numeric_limits<double>::epsilon() * u) return next;
    u = next;
  }
  return u;
}

// Doubles or halves `from` until `outside` holds, at most `limit` times; no value when it
// never does.
template <typename Outside>
std::optional<double> WalkOut(double from, double factor, int limit, Outside outside) {
  double u = from;
  for (int i = 0; i < limit; ++i) {
    u *= factor;
    if (outside(u)) return u;
  }
  return std::nullopt;
}

// Where the measurement finds a peak: within eight decades of its guess; seven are vouched
// for. In the ln of frequency.
constexpr double kPeakReach = 7.0 * std::numbers::ln10;
// Where it finds a -3 dB point: its walk out from the peak in steps growing by half from
// 1e-4 ends at eight decades; five are vouched for.
constexpr double kEdgeReach = 5.0 * std::numbers::ln10;
// The peak's sharpness, -d^2 ln|H|^2 / d(ln f)^2 (8 Q^2 for a second-order band-pass): the
// measurement tells rising from falling over +-1e-5 in ln f, so a flatter top (a wide
// shelf beside a faint peak) is located less well than the margin, and a sharper one
// (Q above 1000) is bent by the curve's asymmetry within that span.
constexpr double kFlattestPeak = 0.05;
constexpr double kSharpestPeak = 8e6;
// Where the node equations lose digits to cancellation (parts ten thousand times apart on
// a slow op-amp: terms in C2^2 that cancel in the determinant), the measured curve is
// rough by that many units in the last place, and the top of the peak is located only to
// that roughness over the sharpness and the slope's span. That must stay below this,
// a hundredth of the margin.
constexpr double kLocatedPeak = 1e-8;
constexpr double kSlopeSpan = 1e-5;
// The node equations' own gain at the peak and at both -3 dB points must be the
// polynomial's to this: the two are one function, and should the op-amp model change and
// they part, the solution vouches for nothing.
constexpr double kSameGain = 1e-8;
// The walk for a bracket gives up past 2^110 in u, beyond 16 decades of frequency.
constexpr int kWalkLimit = 110;

// How many times larger the terms of the node equations' determinant are than the
// determinant itself at `frequency_hz`: the factor by which CircuitResponse's rounding is
// magnified there. The same terms as CircuitResponse.
double Cancellation(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                    double frequency_hz) {
  using Complex = std::complex<double>;
  const Complex s(0.0, kTwoPi * frequency_hz);
  const double y2 = circuit.HasR2() ? 1.0 / circuit.R2 : 0.0;
  const double y1 = 1.0 / circuit.R1, y3 = 1.0 / circuit.R3;
  const Complex yc1 = s * circuit.C1, yc2 = s * circuit.C2;
  Complex k = 0.0, yin = 0.0;
  if (op_amp) {
    k = -(1.0 / op_amp->A0 + s / (kTwoPi * op_amp->Gbw));
    yin = s * op_amp->Cin;
  }
  const Complex a11 = -(y1 + y2 + yc1 + yc2), a12 = yc1 + yc2 * k;
  const Complex a22 = y3 - (yc2 + y3 + yin) * k;
  const Complex product = a11 * a22, cross = a12 * yc2;
  return (std::abs(product) + std::abs(cross)) / std::abs(product - cross);
}

}  // namespace

ResponsePolynomial ResponsePolynomialOf(const Circuit& circuit,
                                        const std::optional<OpAmp>& op_amp) {
  const double g1 = 1.0 / circuit.R1;
  const double G = circuit.HasR2() ? g1 + 1.0 / circuit.R2 : g1;
  const double g3 = 1.0 / circuit.R3;
  const double C1 = circuit.C1, C2 = circuit.C2, Cs = C1 + C2;
  // The op-amp enters as V- = -(alpha + beta s) Vout, alpha = 1/A0, beta = 1/(2 pi GBW).
  double alpha = 0.0, beta = 0.0, Cin = 0.0;
  if (op_amp) {
    alpha = 1.0 / op_amp->A0;
    beta = 1.0 / (kTwoPi * op_amp->Gbw);
    Cin = op_amp->Cin;
  }
  // The inverting input's equation, (e0 + e1 s + e2 s^2) Vout + s C2 Va = 0.
  const double e0 = g3 * (1.0 + alpha);
  const double e1 = g3 * beta + (C2 + Cin) * alpha;
  const double e2 = (C2 + Cin) * beta;
  ResponsePolynomial p;
  p.Numerator = g1 * C2;
  p.D0 = G * e0;
  p.D1 = G * e1 + Cs * e0;
  p.D2 = G * e2 + Cs * e1 + C2 * (C1 - C2 * alpha);
  // (C1 + C2) e2 - C2^2 beta, written without the cancellation.
  p.D3 = beta * (C1 * C2 + Cs * Cin);
  return p;
}

std::optional<SolvedFigures> SolveFigures(const Circuit& circuit,
                                          const std::optional<OpAmp>& op_amp) {
  const ResponsePolynomial p = ResponsePolynomialOf(circuit, op_amp);
  if (!PositiveFinite(p.Numerator) || !PositiveFinite(p.D0) || !PositiveFinite(p.D1) ||
      !PositiveFinite(p.D2) || !(p.D3 >= 0.0) || !std::isfinite(p.D3)) {
    return std::nullopt;
  }
  const double x0 = p.D0 / p.D2;
  const Normalised f{p.D1 * p.D1 / (p.D0 * p.D2), p.D3 * p.D0 / (p.D1 * p.D2)};
  if (!PositiveFinite(x0) || !PositiveFinite(f.rho) || !(f.sigma >= 0.0) ||
      !std::isfinite(f.sigma)) {
    return std::nullopt;
  }

  // The peak: where f's slope, rising from minus infinity at u = 0, crosses zero; at u = 1
  // with an ideal op-amp, near it with a real one.
  const auto slope = [&f](double u) { return f.Slope(u); };
  const auto curvature = [&f](double u) {
    return 2.0 / (u * u * u) + 2.0 * f.rho * f.sigma * f.sigma;
  };
  const auto rising = [&](double u) { return slope(u) > 0.0; };
  const auto falling = [&](double u) { return !rising(u); };
  double lo = 1.0, hi = 1.0;
  if (rising(1.0)) {
    const std::optional<double> below = WalkOut(1.0, 0.5, kWalkLimit, falling);
    if (!below) return std::nullopt;
    lo = *below;
  } else {
    const std::optional<double> beyond = WalkOut(1.0, 2.0, kWalkLimit, rising);
    if (!beyond) return std::nullopt;
    hi = *beyond;
  }
  const double peak = slope(1.0) == 0.0 ? 1.0 : RootInBracket(lo, hi, lo, slope, curvature);

  // The -3 dB points, from just outside where a second-order band-pass of the same
  // sharpness (8 Q^2, see below) has them: (sqrt(1 + 1/(4 Q^2)) -+ 1/(2 Q))^2 in u.
  const double level = 2.0 * f.F(peak);
  const double sharpness = 4.0 * peak * peak * curvature(peak) / f.F(peak);
  const double half_width = 0.5 / std::sqrt(sharpness / 8.0);
  const double centre = std::sqrt(1.0 + half_width * half_width);
  const auto excess = [&](double u) { return f.F(u) - level; };
  const auto above = [&](double u) { return excess(u) > 0.0; };
  const auto outside = [&](double guess, double factor) -> std::optional<double> {
    if (above(guess)) return guess;
    return WalkOut(guess, factor, kWalkLimit, above);
  };
  const double low_guess = peak * (centre - half_width) * (centre - half_width) * 0.999;
  const double high_guess = peak * (centre + half_width) * (centre + half_width) * 1.001;
  const std::optional<double> below_low = outside(low_guess, 0.5);
  const std::optional<double> beyond_high = outside(high_guess, 2.0);
  if (!below_low || !beyond_high) return std::nullopt;
  const double low = RootInBracket(*below_low, peak, *below_low, excess, slope);
  const double high = RootInBracket(peak, *beyond_high, *beyond_high, excess, slope);

  SolvedFigures figures;
  const double w0 = std::sqrt(x0);
  figures.peak_hz = w0 * std::sqrt(peak) / kTwoPi;
  figures.q_bandwidth = std::sqrt(peak) / (std::sqrt(high) - std::sqrt(low));
  figures.peak_gain = p.Numerator * w0 / (p.D0 * std::sqrt(f.F(peak)));
  if (!PositiveFinite(figures.peak_hz) || !PositiveFinite(figures.q_bandwidth) ||
      !PositiveFinite(figures.peak_gain)) {
    return std::nullopt;
  }
  // In ln f: the peak from where the measurement looks, the -3 dB points from the peak.
  // The sharpness is -d^2 ln|H|^2 / d(ln f)^2 at the peak: |H|^2 is proportional to
  // 1 / f(u) and ln f = ln u / 2 + constant, so where f' = 0 it is 4 u^2 f'' / f.
  const double guess = std::log(NaturalFrequency(circuit));
  const double peak_at = std::log(figures.peak_hz);
  const double roughness =
      Cancellation(circuit, op_amp, figures.peak_hz) * std::numeric_limits<double>::epsilon();
  const auto same_gain = [&](double u, double gain) {
    const double hz = w0 * std::sqrt(u) / kTwoPi;
    return std::fabs(std::abs(CircuitResponse(circuit, op_amp, hz)) / gain - 1.0) <= kSameGain;
  };
  const double edge_gain = figures.peak_gain / std::numbers::sqrt2;
  figures.measurable =
      std::fabs(peak_at - guess) <= kPeakReach && 0.5 * std::log(peak / low) <= kEdgeReach &&
      0.5 * std::log(high / peak) <= kEdgeReach && sharpness >= kFlattestPeak &&
      sharpness <= kSharpestPeak && roughness / (kSlopeSpan * sharpness) <= kLocatedPeak &&
      same_gain(peak, figures.peak_gain) && same_gain(low, edge_gain) && same_gain(high, edge_gain);
  return figures;
}

}  // namespace calc

// Preferred values are generated, not looked up: 10^(i/n), rounded to two significant
// digits with fixed corrections for the customary values of the series up to size 24,
// and to three significant digits above it. Every step is one checked double operation in
// the order written, because the chosen component value is shown to the last digit.
#include "calc/circuit/preferred_values.h"

#include <array>
#include <cmath>
#include <vector>

#include "calc/numeric/float_ops.h"

namespace calc {
namespace {

// ln 10 to fifteen significant digits, a hair above the double nearest ln 10. The
// generated values and the scales of the far decades are built on exactly this constant.
constexpr double kLn10 = 2.30258509299405;
// The double nearest log10 e: log10(y) is ln(y) times this.
constexpr double kLog10E = 0.4342944819032518;

double Log10(double y) { return Mul(Ln(y), kLog10E); }

// The decades components usually lie in use the doubles nearest the powers of ten. The
// other decades use exp(d x ln 10), a few units in the last place away from 10^d; the
// values snapped there (1.5 x that scale for 15 nF, say) keep those last digits, which
// the displayed results depend on.
constexpr std::int64_t kFirstTabledDecade = -3;
constexpr std::array<double, 10> kTabledScales = {0.001, 0.01, 0.1, 1.0, 10.0,
                                                  100.0, 1e3,  1e4, 1e5, 1e6};

double DecadeScale(std::int64_t d) {
  const std::int64_t index = d - kFirstTabledDecade;
  if (index >= 0 && index < static_cast<std::int64_t>(kTabledScales.size())) {
    return kTabledScales[static_cast<std::size_t>(index)];
  }
  return Exp(Mul(static_cast<double>(d), kLn10));
}

}  // namespace

double SeriesValue(std::int64_t i, std::int32_t n) {
  const double c = Div(static_cast<double>(i), static_cast<double>(n));
  double v = Exp(Mul(c, kLn10));
  if (n > 24) {  // three significant digits
    const std::int64_t r = RoundToInt64(Mul(v, 100.0));
    // The customary values of the large series differ from the plain rule in two places.
    if (r == 459) return 4.58;
    if (r == 919) return 9.2;
    return Div(static_cast<double>(r), 100.0);
  }
  // Two significant digits. The raw values in the middle of the decade lie below the
  // customary ones (2.7 .. 4.7), the one near 8.25 above (8.2).
  if (0.395 < c && c < 0.687) v = Add(v, 0.1);
  if (0.896 < c && c < 0.937) v = Sub(v, 0.1);
  const std::int64_t r = RoundToInt64(Mul(v, 10.0));
  return Div(static_cast<double>(r), 10.0);
}

namespace {

// Where a positive `a` snaps to in the size-n series: the value SeriesValue(index, n), which
// may be 10.0 at index n, in the decade whose scale is `scale`.
struct SeriesPosition {
  std::int64_t index = 0;
  std::int64_t decade = 0;
  double value = 0.0;
  double scale = 0.0;
};

SeriesPosition NearestPosition(double a, std::int32_t n) {
  // The decade: one below the floor of log10(a) where log10(a) - 1 lands on a whole
  // number. Then m comes out at 10 or a hair above and snaps to 10 x the lower decade.
  double L = Log10(a);
  if (L < 0.0) L = Sub(L, 1.0);
  const std::int64_t d = TruncToInt64(L);
  const double scale = DecadeScale(d);
  const double m = Div(a, scale);

  // v: the value whose ideal position is nearest m; w: its neighbour on m's side. The
  // nearer of the two on a log scale wins; the boundary is their geometric mean, and a
  // tie keeps v. |i| stays below |n| times a few hundred, so i +- 1 cannot overflow.
  const std::int64_t i = RoundToInt64(Mul(static_cast<double>(n), Log10(m)));
  const double v = SeriesValue(i, n);
  std::int64_t j;
  double s;
  if (m > v) {
    j = i + 1;
    s = 1.0;
  } else {
    j = i - 1;
    s = -1.0;
  }
  const double w = SeriesValue(j, n);
  const double t = Mul(Sub(Div(Mul(Div(v, m), w), m), 1.0), s);
  if (t < 0.0) return {j, d, w, scale};
  return {i, d, v, scale};
}

// The series value `steps` places from `from`, through decades: the index taken into
// 0 .. n - 1 and the decade moved to match.
double StepAlongSeries(const SeriesPosition& from, std::int64_t steps, std::int32_t n) {
  const std::int64_t index = from.index + steps;
  std::int64_t decades = index / n;
  if (index % n < 0) --decades;  // floor division
  return Mul(SeriesValue(index - decades * n, n), DecadeScale(from.decade + decades));
}

// Two values this close are one preferred value written twice (a typed "10n" and the
// series' own 10 nF differ in the last digits).
constexpr double kSameValue = 1e-9;

}  // namespace

double SnapToSeries(double x, std::int32_t n) {
  if (x == 0.0 || n == 0) return x;
  const double sign = x < 0.0 ? -1.0 : 1.0;
  const SeriesPosition position = NearestPosition(std::fabs(x), n);
  return Mul(Mul(position.value, sign), position.scale);
}

std::vector<double> SeriesNeighbours(double centre, std::int32_t n, int steps) {
  std::vector<double> values;
  if (!(centre > 0.0) || !std::isfinite(centre) || n <= 0 || steps <= 0) {
    values.push_back(centre);
    return values;
  }
  const SeriesPosition snapped = NearestPosition(centre, n);
  const double nearest = Mul(snapped.value, snapped.scale);
  // The first step below and above the centre: a centre off the series has its nearest
  // preferred value as the first step on that side.
  std::int64_t first_below = -1, first_above = 1;
  if (std::fabs(nearest - centre) > kSameValue * centre) {
    if (nearest < centre) {
      first_below = 0;
    } else {
      first_above = 0;
    }
  }
  values.reserve(2 * static_cast<std::size_t>(steps) + 1);
  for (std::int64_t step = first_below - (steps - 1); step <= first_below; ++step) {
    values.push_back(StepAlongSeries(snapped, step, n));
  }
  values.push_back(centre);
  for (std::int64_t step = first_above; step < first_above + steps; ++step) {
    values.push_back(StepAlongSeries(snapped, step, n));
  }
  return values;
}

}  // namespace calc

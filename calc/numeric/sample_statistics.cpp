#include "calc/numeric/sample_statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace calc {
namespace {

// The two-sided 95 % point of the standard normal distribution.
constexpr double kZ95 = 1.959963984540054;

// Numbers in rising order, then NaNs: a strict weak order even where a NaN slipped in,
// which the selection algorithms need to stay inside the range.
bool Before(double a, double b) { return a < b || (std::isnan(b) && !std::isnan(a)); }

// The order statistic x[k] of `sample`, which is partly ordered by earlier calls: every
// element before `done` is no greater than every element from `done` on.
double OrderStatistic(std::span<double> sample, std::size_t done, std::size_t k) {
  std::nth_element(sample.begin() + static_cast<std::ptrdiff_t>(done),
                   sample.begin() + static_cast<std::ptrdiff_t>(k), sample.end(), Before);
  return sample[k];
}

// Percentile's interpolation on a sample partly ordered up to `done` (see OrderStatistic);
// `done` moves up to the lower order statistic used.
double Interpolated(std::span<double> sample, std::size_t& done, double p,
                    double (*transform)(double) = nullptr) {
  const std::size_t n = sample.size();
  const double h = static_cast<double>(n - 1) * p;
  const auto lower = static_cast<std::size_t>(std::floor(h));
  double x0 = OrderStatistic(sample, done, lower);
  done = lower;
  if (transform) x0 = transform(x0);
  if (lower + 1 >= n) return x0;
  // x[lower + 1] is the smallest element above position `lower`.
  double x1 = *std::min_element(sample.begin() + static_cast<std::ptrdiff_t>(lower + 1),
                                sample.end(), Before);
  if (transform) x1 = transform(x1);
  return x0 + (h - std::floor(h)) * (x1 - x0);
}

}  // namespace

double Percentile(std::span<const double> sample, double p) {
  std::vector<double> copy(sample.begin(), sample.end());
  if (copy.empty()) return kNoValue;
  std::sort(copy.begin(), copy.end(), Before);
  const double h = static_cast<double>(copy.size() - 1) * p;
  const auto lower = static_cast<std::size_t>(std::floor(h));
  if (lower + 1 >= copy.size()) return copy.back();
  return copy[lower] + (h - std::floor(h)) * (copy[lower + 1] - copy[lower]);
}

double PercentileInPlace(std::span<double> sample, double p, double (*transform)(double)) {
  if (sample.empty()) return kNoValue;
  std::size_t done = 0;
  return Interpolated(sample, done, p, transform);
}

Percentiles SummarizeSample(std::span<double> sample) {
  Percentiles result;
  if (sample.empty()) return result;
  // Rising p, so each selection works only on the part above the previous one.
  std::size_t done = 0;
  result.min = Interpolated(sample, done, 0.0);
  result.p0_5 = Interpolated(sample, done, 0.005);
  result.p5 = Interpolated(sample, done, 0.05);
  result.p50 = Interpolated(sample, done, 0.5);
  result.p95 = Interpolated(sample, done, 0.95);
  result.p99_5 = Interpolated(sample, done, 0.995);
  result.max = Interpolated(sample, done, 1.0);
  return result;
}

Proportion WilsonInterval(std::int64_t count, std::int64_t trials) {
  Proportion result;
  result.count = count;
  result.trials = trials;
  if (trials <= 0) return result;
  const double n = static_cast<double>(trials);
  const double p = static_cast<double>(count) / n;
  const double z2 = kZ95 * kZ95;
  const double denominator = 1.0 + z2 / n;
  const double centre = (p + z2 / (2.0 * n)) / denominator;
  const double half = kZ95 / denominator * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n));
  result.fraction = p;
  // At k = 0 and k = n the interval ends at 0 and 1 exactly; rounding would leave a hair.
  result.low = count == 0 ? 0.0 : std::max(0.0, centre - half);
  result.high = count == trials ? 1.0 : std::min(1.0, centre + half);
  return result;
}

}  // namespace calc

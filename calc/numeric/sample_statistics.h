// Summaries of a Monte Carlo sample: percentiles and a binomial proportion's confidence.
#ifndef KORVANE_CALC_NUMERIC_SAMPLE_STATISTICS_H
#define KORVANE_CALC_NUMERIC_SAMPLE_STATISTICS_H

#include <cstdint>
#include <span>

#include "calc/circuit/circuit.h"

namespace calc {

// The percentiles every figure of a run reports.
struct Percentiles {
  double min = kNoValue, p0_5 = kNoValue, p5 = kNoValue, p50 = kNoValue, p95 = kNoValue,
         p99_5 = kNoValue, max = kNoValue;
};

// The percentile p (0 <= p <= 1) of a sample by linear interpolation between order
// statistics (Hyndman and Fan's definition 7, the usual default of statistics packages):
// with the sorted sample x[0] <= ... <= x[n-1] and h = (n - 1) p, the value
// x[floor h] + (h - floor h) (x[floor h + 1] - x[floor h]). p = 0 is the minimum, p = 1
// the maximum. An empty sample gives no value.
// Percentile({1, 2, 3, 4}, 0.5) -> 2.5; Percentile({1, 2, 3, 4}, 0.05) -> 1.15.
double Percentile(std::span<const double> sample, double p);

// Percentile(sample, p), reordering the sample instead of copying it (a selection, not
// a sort). NaNs count as larger than every number. With `transform`, an increasing
// function, the percentile of the transformed sample: the order statistics are selected
// on the sample and only the two used are transformed before the interpolation.
double PercentileInPlace(std::span<double> sample, double p, double (*transform)(double) = nullptr);

// The seven percentiles of `sample`. Reorders the sample (selection, not a full sort).
Percentiles SummarizeSample(std::span<double> sample);

// A proportion k/n with its 95 % Wilson score interval, which stays inside [0, 1] and
// keeps its coverage near yields of 0 and 1, where the normal approximation fails.
struct Proportion {
  std::int64_t count = 0, trials = 0;
  double fraction = kNoValue, low = kNoValue, high = kNoValue;
};
// WilsonInterval(95, 100) -> 0.95 in [0.8882, 0.9785]; n = 0 gives no values.
Proportion WilsonInterval(std::int64_t count, std::int64_t trials);

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_SAMPLE_STATISTICS_H

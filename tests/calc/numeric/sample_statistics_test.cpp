#include "calc/numeric/sample_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/numeric/counter_random.h"

namespace {

TEST(Percentile, HeaderExamplesAndEnds) {
  const std::vector<double> sample = {4, 1, 3, 2};
  EXPECT_EQ(calc::Percentile(sample, 0.5), 2.5);
  EXPECT_DOUBLE_EQ(calc::Percentile(sample, 0.05), 1.15);
  EXPECT_EQ(calc::Percentile(sample, 0.0), 1.0);
  EXPECT_EQ(calc::Percentile(sample, 1.0), 4.0);
  EXPECT_EQ(calc::Percentile(std::vector<double>{7.0}, 0.995), 7.0);
  EXPECT_TRUE(std::isnan(calc::Percentile(std::vector<double>{}, 0.5)));
}

// The selection-based summary must give exactly what sorting gives, ties included.
TEST(SummarizeSample, EqualsTheSortedDefinition) {
  for (const std::size_t n : {1u, 2u, 3u, 199u, 200u, 201u, 1000u}) {
    SCOPED_TRACE(n);
    std::vector<double> sample(n);
    const std::uint64_t key = calc::RandomKey(n);
    for (std::size_t i = 0; i < n; ++i) {
      // Few distinct values, so ties are common.
      sample[i] = std::floor(calc::UnitInterval(calc::RandomBits(key, i)) * 17.0);
    }
    const std::vector<double> original = sample;
    const calc::Percentiles p = calc::SummarizeSample(sample);
    EXPECT_EQ(p.min, calc::Percentile(original, 0.0));
    EXPECT_EQ(p.p0_5, calc::Percentile(original, 0.005));
    EXPECT_EQ(p.p5, calc::Percentile(original, 0.05));
    EXPECT_EQ(p.p50, calc::Percentile(original, 0.5));
    EXPECT_EQ(p.p95, calc::Percentile(original, 0.95));
    EXPECT_EQ(p.p99_5, calc::Percentile(original, 0.995));
    EXPECT_EQ(p.max, calc::Percentile(original, 1.0));
    std::vector<double> again = original;
    EXPECT_EQ(calc::PercentileInPlace(again, 0.95), p.p95);
    // Through an increasing transform: the percentile of the transformed sample.
    std::vector<double> transformed = original;
    for (double& x : transformed) x = std::exp(x);
    again = original;
    EXPECT_EQ(calc::PercentileInPlace(again, 0.95, [](double x) { return std::exp(x); }),
              calc::Percentile(transformed, 0.95));
  }
}

// Reference intervals by hand from Wilson's formula with z = 1.959963984540054.
TEST(WilsonInterval, KnownIntervalsAndTheEnds) {
  const calc::Proportion p = calc::WilsonInterval(95, 100);
  EXPECT_EQ(p.fraction, 0.95);
  EXPECT_NEAR(p.low, 0.8882495307680808, 1e-15);
  EXPECT_NEAR(p.high, 0.9784563208456319, 1e-15);

  // All inside: the interval still says how sure 100 trials can be.
  const calc::Proportion all = calc::WilsonInterval(100, 100);
  EXPECT_EQ(all.fraction, 1.0);
  EXPECT_NEAR(all.low, 100 / (100 + 1.959963984540054 * 1.959963984540054), 1e-15);
  EXPECT_EQ(all.high, 1.0);
  const calc::Proportion none = calc::WilsonInterval(0, 100);
  EXPECT_EQ(none.low, 0.0);
  EXPECT_NEAR(none.high, 0.03699349820698568, 1e-15);

  // 10,000 trials pin a yield near 50 % to about +-1 %.
  const calc::Proportion half = calc::WilsonInterval(5000, 10000);
  EXPECT_NEAR(half.high - half.low, 2 * 0.0098, 1e-4);

  EXPECT_TRUE(std::isnan(calc::WilsonInterval(0, 0).fraction));
}

}  // namespace

// The preferred values either side of a centre, against the published E-series tables
// (IEC 60063), across decade boundaries and for centres on and off the series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "calc/circuit/preferred_values.h"

namespace {

using calc::SeriesNeighbours;

struct Case {
  const char* name;
  double centre;
  std::int32_t series;
  int steps;
  std::vector<double> expected;
};

void ExpectValues(const std::vector<double>& values, const std::vector<double>& expected) {
  ASSERT_EQ(values.size(), expected.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE(i);
    // Far decades carry their scale's last digits (15 nF is 1.4999999999999492e-08).
    EXPECT_NEAR(values[i], expected[i], expected[i] * 1e-12);
  }
}

TEST(SeriesNeighbours, MatchThePublishedSeries) {
  const Case cases[] = {
      {"header: E24 around 4.7k", 4700, 24, 2, {3900, 4300, 4700, 5100, 5600}},
      {"header: E12 down across the decade", 1000, 12, 1, {820, 1000, 1200}},
      {"header: E6 off the series", 12e-9, 6, 1, {10e-9, 12e-9, 15e-9}},
      {"E6 around 15n", 15e-9, 6, 2, {6.8e-9, 10e-9, 15e-9, 22e-9, 33e-9}},
      {"E3 up across the decade", 4.7, 3, 2, {1.0, 2.2, 4.7, 10, 22}},
      {"E96 around 100", 100, 96, 2, {95.3, 97.6, 100, 102, 105}},
      {"E192 up across the decade", 9880, 192, 2, {9650, 9760, 9880, 10000, 10100}},
      {"E48 around 1", 1.0, 48, 1, {0.953, 1.0, 1.05}},
      {"off the series, nearer the upper value", 13e-9, 6, 2, {6.8e-9, 10e-9, 13e-9, 15e-9, 22e-9}},
      {"off the series, nearer the lower value", 1.15e3, 12, 2, {820, 1000, 1150, 1200, 1500}},
      {"E24 six steps either side",
       1.0e3,
       24,
       6,
       {560, 620, 680, 750, 820, 910, 1000, 1100, 1200, 1300, 1500, 1600, 1800}},
      {"unsnapped: the centre alone", 1234.5, 0, 2, {1234.5}},
      {"no steps: the centre alone", 4700, 24, 0, {4700}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectValues(SeriesNeighbours(c.centre, c.series, c.steps), c.expected);
  }
}

// A typed value that is a preferred one but for its last digits (1e-8 against the series'
// own 10 nF) is that value, not a neighbour of it: the list holds no near-duplicates, and
// the centre is kept exactly as given.
TEST(SeriesNeighbours, ATypedPreferredValueIsTheCentreOnce) {
  const std::vector<double> values = SeriesNeighbours(1e-8, 6, 1);
  ASSERT_EQ(values.size(), 3U);
  EXPECT_EQ(values[1], 1e-8);
  EXPECT_NEAR(values[0], 6.8e-9, 1e-20);
  EXPECT_NEAR(values[2], 15e-9, 1e-20);
}

// Every neighbour is the value the snapping itself gives, to a few parts in 1e14 (at the
// start of a decade the snapping writes 10 x the lower decade's scale or 1 x the upper's,
// by the rounding of its logarithm, and the far decades' scales are a few dozen units in
// the last place apart), so a set built from them has the values and texts the design
// command would give.
TEST(SeriesNeighbours, AreValuesTheSnappingGives) {
  for (const std::int32_t series : {3, 6, 12, 24, 48, 96, 192}) {
    for (const double centre : {1.0, 4.7e3, 15e-9, 1e-12, 9.1e6, 3.3e-5}) {
      SCOPED_TRACE(testing::Message() << "E" << series << " around " << centre);
      const double snapped = calc::SnapToSeries(centre, series);
      const std::vector<double> values = SeriesNeighbours(snapped, series, 3);
      ASSERT_EQ(values.size(), 7U);
      for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_NEAR(calc::SnapToSeries(values[i], series), values[i], values[i] * 1e-13) << i;
        if (i > 0) {
          EXPECT_GT(values[i], values[i - 1]) << i;
        }
      }
    }
  }
}

TEST(SeriesNeighbours, GiveTheCentreAloneForWhatIsNoPartValue) {
  const double centres[] = {0.0, -4.7e3, std::nan(""), INFINITY};
  for (const double centre : centres) {
    const std::vector<double> values = SeriesNeighbours(centre, 24, 2);
    ASSERT_EQ(values.size(), 1U);
    EXPECT_TRUE(values[0] == centre || (std::isnan(values[0]) && std::isnan(centre)));
  }
}

}  // namespace

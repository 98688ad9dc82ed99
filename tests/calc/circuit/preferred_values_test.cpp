#include "calc/circuit/preferred_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "calc/numeric/float_ops.h"

namespace {

using calc::SeriesValue;
using calc::SnapToSeries;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

TEST(PreferredValues, HeaderExamples) {
  EXPECT_EQ(SeriesValue(10, 24), 2.7);
  EXPECT_EQ(SeriesValue(127, 192), 4.58);
  EXPECT_EQ(SeriesValue(-1, 6), 0.7);
  EXPECT_EQ(SnapToSeries(5.30516e3, 24), 5100.0);
  EXPECT_EQ(SnapToSeries(-5.0, 6), -4.7);
  EXPECT_EQ(SnapToSeries(1.5915494309189534e-08, 6), 1.4999999999999492e-08);
}

// The customary two-digit series, with the neighbours below the first and above the last
// value that the snapping compares against.
TEST(SeriesValue, TwoDigitSeriesWithNeighbours) {
  struct Case {
    std::int32_t n;
    std::vector<double> decade;  // i = 0 .. n - 1
    double below, at_n, above;   // i = -1, n, n + 1
  };
  const Case cases[] = {
      {3, {1.0, 2.2, 4.7}, 0.5, 10.0, 21.5},
      {6, {1.0, 1.5, 2.2, 3.3, 4.7, 6.8}, 0.7, 10.0, 14.7},
      {12, {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2}, 0.8, 10.0, 12.1},
      {24,
       {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0,
        3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1},
       0.9,
       10.0,
       11.0},
      // Other sizes follow the same rule, corrections included (10^0.4 = 2.512 is lifted
      // to 2.6, 10^0.9 = 7.943 lowered to 7.8).
      {1, {1.0}, 0.1, 10.0, 100.0},
      {2, {1.0, 3.3}, 0.3, 10.0, 31.6},
      {10, {1.0, 1.3, 1.6, 2.0, 2.6, 3.3, 4.1, 5.0, 6.3, 7.8}, 0.8, 10.0, 12.6},
  };
  for (const Case& c : cases) {
    for (std::int32_t i = 0; i < c.n; ++i) {
      SCOPED_TRACE(testing::Message() << "E" << c.n << " i=" << i);
      EXPECT_EQ(SeriesValue(i, c.n), c.decade[static_cast<std::size_t>(i)]);
    }
    SCOPED_TRACE(testing::Message() << "E" << c.n << " neighbours");
    EXPECT_EQ(SeriesValue(-1, c.n), c.below);
    EXPECT_EQ(SeriesValue(c.n, c.n), c.at_n);
    EXPECT_EQ(SeriesValue(c.n + 1, c.n), c.above);
  }
}

// The published three-digit series, in hundredths.
const int kE48[] = {100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169, 178, 187, 196, 205,
                    215, 226, 237, 249, 261, 274, 287, 301, 316, 332, 348, 365, 383, 402, 422, 442,
                    464, 487, 511, 536, 562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};
const int kE96[] = {100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
                    147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
                    215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
                    316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
                    464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
                    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};
const int kE192[] = {
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123,
    124, 126, 127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152,
    154, 156, 158, 160, 162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189,
    191, 193, 196, 198, 200, 203, 205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234,
    237, 240, 243, 246, 249, 252, 255, 258, 261, 264, 267, 271, 274, 277, 280, 284, 287, 291,
    294, 298, 301, 305, 309, 312, 316, 320, 324, 328, 332, 336, 340, 344, 348, 352, 357, 361,
    365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417, 422, 427, 432, 437, 442, 448,
    453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530, 536, 542, 549, 556,
    562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673, 681, 690,
    698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

TEST(SeriesValue, ThreeDigitSeriesMatchThePublishedLists) {
  struct Case {
    std::int32_t n;
    const int* hundredths;
    double below, above;  // i = -1: 10^(-1/n); i = n + 1: 10^(1 + 1/n)
  };
  const Case cases[] = {
      {48, kE48, 0.95, 10.49}, {96, kE96, 0.98, 10.24}, {192, kE192, 0.99, 10.12}};
  for (const Case& c : cases) {
    for (std::int32_t i = 0; i < c.n; ++i) {
      SCOPED_TRACE(testing::Message() << "E" << c.n << " i=" << i);
      double expected = c.hundredths[i] / 100.0;
      // The calculator has always given 4.58 at this place of the 192 series, where the
      // published list has 4.59; designs made with it depend on that value.
      if (c.n == 192 && i == 127) expected = 4.58;
      EXPECT_EQ(SeriesValue(i, c.n), expected);
    }
    SCOPED_TRACE(testing::Message() << "E" << c.n << " neighbours");
    EXPECT_EQ(SeriesValue(c.n, c.n), 10.0);
    EXPECT_EQ(SeriesValue(c.n + 1, c.n), c.above);
    EXPECT_EQ(SeriesValue(-1, c.n), c.below);
  }
}

TEST(SeriesValue, TellingRowsAndOtherSizes) {
  struct Case {
    const char* name;
    std::int64_t i;
    std::int32_t n;
    double expected;
  };
  const Case cases[] = {
      {"E48 closest call to a half (169.4988)", 11, 48, 1.69},
      {"E192 replacement of 4.59", 127, 192, 4.58},
      {"E192 replacement of 9.19", 185, 192, 9.2},
      {"E384 takes the 4.59 replacement too", 254, 384, 4.58},
      {"E384 takes the 9.19 replacement too", 370, 384, 9.2},
      {"E384 next to the replacement (455.88)", 253, 384, 4.56},
      {"n = 25 has three digits (1.3183)", 3, 25, 1.32},
      {"n = 25 (1.4454)", 4, 25, 1.45},
      {"n = 1000 (10^0.5)", 500, 1000, 3.16},
      {"n = 1000 (10^0.301)", 301, 1000, 2.0},
      {"negative n counts downwards (10^(-1/6))", 1, -6, 0.7},
      {"negative n counts downwards (10^(1/6))", -1, -6, 1.5},
      {"negative n of large size stays two-digit", -5, -1000, 1.0},
      {"largest size, last step", kInt32Max, kInt32Max, 10.0},
      {"smallest size", kInt32Min, kInt32Min, 10.0},
      {"far below the decade underflows quietly", std::numeric_limits<std::int64_t>::min(), 1, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SeriesValue(c.i, c.n), c.expected);
  }
}

TEST(SeriesValue, FarAboveTheDecadeOverflows) {
  try {
    SeriesValue(std::numeric_limits<std::int64_t>::max(), 1);
    ADD_FAILURE() << "no FloatError";
  } catch (const calc::FloatError& error) {
    EXPECT_EQ(error.kind(), calc::FloatError::Kind::kOverflow);
  }
}

struct SnapCase {
  const char* name;
  double x;
  std::int32_t n;
  double expected;
};

TEST(SnapToSeries, ExactResults) {
  const SnapCase cases[] = {
      {"zero", 0.0, 24, 0.0},
      {"no snapping", 5.30516e3, 0, 5.30516e3},
      {"below the mean of 5.1 and 5.6", 5.30516e3, 24, 5100.0},
      {"R1 of the default design", 1.061033e4, 24, 11000.0},
      {"above the mean of 2.0 and 2.2", 2.122066e4, 24, 22000.0},
      {"below the mean of 9.1 and 10", 9.5, 24, 9.1},
      {"index n gives 10", 9.6, 24, 10.0},
      {"E6 below the mean of 6.8 and 10", 8.0, 6, 6.8},
      {"E1 below sqrt 10", 3.0, 1, 1.0},
      {"E1 above sqrt 10", 3.3, 1, 10.0},
      {"sign put back", -5.0, 6, -4.7},
      {"decade 10^-8 from exp", 1.5915494309189534e-08, 6, 1.4999999999999492e-08},
      {"0.1 from the table", 0.1, 24, 0.1},
      {"1000 from the table", 1000.0, 24, 1000.0},
      {"negative size steps away from 1.5", 1.59, -6, 1.0},
      {"negative size never keeps a series value", 1.5, -6, 2.2},
      {"negative E24 size", 1.061033e4, -24, 12000.0},
      {"E6, just below the mean of 1.5 and 2.2 (1.8166)", 1.816, 6, 1.5},
      {"E6, just above the mean of 1.5 and 2.2", 1.817, 6, 2.2},
      {"E24, 9.53 below the mean of 9.1 and 10 (9.539)", 9.53, 24, 9.1},
      {"E24, 9.54 above it", 9.54, 24, 10.0},
      {"E12 value stays", 3.9e3, 12, 3.9e3},
      {"E12 in the milli decade", 0.0047, 12, 0.001 * 4.7},
      {"E96 value stays", 4.99e5, 96, 4.99 * 1e5},
      {"E48 between 4.64 and 4.87 (mean 4.754)", 4.75e2, 48, 4.64 * 100.0},
      {"E48 just above that mean", 4.76e2, 48, 4.87 * 100.0},
      {"E192 replacement 4.58 instead of 4.59", 4.59e3, 192, 4.58 * 1000.0},
      {"E192 from the raw index 127", 4.5863e-3, 192, 4.58 * 0.001},
      {"megohms take the table's 10^6", 2.2e6, 24, 2.2 * 1e6},
      {"negative capacitance", -1.5e-3, 6, -1.5 * 0.001},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.name);
    const double snapped = SnapToSeries(c.x, c.n);
    EXPECT_EQ(snapped, c.expected);
    EXPECT_EQ(std::signbit(snapped), std::signbit(c.expected));
  }
  EXPECT_TRUE(std::signbit(SnapToSeries(-0.0, 24)));
  EXPECT_TRUE(std::signbit(SnapToSeries(-0.0, 0)));
}

// Outside the decades 10^-3 .. 10^6 the scale is exp(d x 2.30258509299405): for d = -12
// that is 9.999999999999513e-13 and for d = 7 it is 1.000000000000029e+07.
TEST(SnapToSeries, FarDecadesUseTheExpScale) {
  const SnapCase cases[] = {
      {"4.7 pF", 4.7e-12, 24, 4.7 * 9.999999999999513e-13},
      {"4.6 pF to 4.7", 4.6e-12, 24, 4.7 * 9.999999999999513e-13},
      {"15 MOhm", 1.5e7, 24, 1.5 * 1.000000000000029e+07},
      {"-15 MOhm", -1.5e7, 24, -1.5 * 1.000000000000029e+07},
      {"15 nF", 1.5e-8, 6, 1.4999999999999492e-08},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SnapToSeries(c.x, c.n), c.expected);
  }
}

// Where log10 lands on a whole number the value falls into the decade below and snaps to
// 10 x its scale: the same value up to the last digits.
TEST(SnapToSeries, PowersOfTenAtTheDecadeEdges) {
  const double powers[] = {1e-12, 1e-9, 1e-8, 1e-4, 0.01, 0.1, 1.0, 10.0, 1e5, 1e7, 1e9};
  const std::int32_t sizes[] = {3, 6, 24, 96, 192};
  for (double x : powers) {
    for (std::int32_t n : sizes) {
      SCOPED_TRACE(testing::Message() << x << " E" << n);
      EXPECT_NEAR(SnapToSeries(x, n) / x, 1.0, 1e-13);
      EXPECT_NEAR(SnapToSeries(-x, n) / -x, 1.0, 1e-13);
    }
  }
}

// Every size is a size: the extremes of the 32-bit range index the decade without
// overflow, the positive one with three digits, the negative one with two.
TEST(SnapToSeries, ExtremeSizes) {
  const SnapCase cases[] = {
      {"largest size", 5.30516e3, kInt32Max, 5310.0},
      {"smallest size", 5.30516e3, kInt32Min, 5300.0},
      {"size 1000: below the mean of 1.58 and 1.59", 1.584, 1000, 1.58},
      {"size 1000: above the mean of 1.58 and 1.59", 1.585, 1000, 1.59},
      {"size -1000 stays two-digit", 1.584, -1000, 1.6},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(SnapToSeries(c.x, c.n), c.expected);
  }
}

TEST(SnapToSeries, ExtremeMagnitudes) {
  // Subnormal values snap within their (imprecise) decade without complaint.
  const double tiny = SnapToSeries(1e-310, 24);
  EXPECT_GT(tiny, 0.0);
  EXPECT_LT(tiny, 1e-309);
  // Far decades carry the error of ln 10 times d: 1.3e-12 relative at d = 308.
  EXPECT_NEAR(SnapToSeries(1.6e308, 24) / 1.6e308, 1.0, 1e-11);
  EXPECT_NEAR(SnapToSeries(-2.2e-9, kInt32Max) / -2.2e-9, 1.0, 1e-13);

  struct FaultCase {
    const char* name;
    double x;
    calc::FloatError::Kind kind;
  };
  const FaultCase faults[] = {
      // The decade's scale underflows to zero.
      {"smallest subnormal", std::numeric_limits<double>::denorm_min(),
       calc::FloatError::Kind::kDivisionByZero},
      // 1.8 x 10^308 is beyond the double range.
      {"largest double", std::numeric_limits<double>::max(), calc::FloatError::Kind::kOverflow},
      {"infinity", std::numeric_limits<double>::infinity(),
       calc::FloatError::Kind::kInvalidOperation},
  };
  for (const FaultCase& c : faults) {
    SCOPED_TRACE(c.name);
    try {
      SnapToSeries(c.x, 24);
      ADD_FAILURE() << "no FloatError";
    } catch (const calc::FloatError& error) {
      EXPECT_EQ(error.kind(), c.kind);
    }
  }
}

}  // namespace

// Axis ticks and their labels. Expected ticks are counted by hand from the rules: the 1-2-5
// steps, the decades and their strides, the SI prefix table.
#include "calc/text/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using calc::AxisTick;
using calc::DecimalNumber;
using calc::TickLabels;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (const char16_t c : text) {
    if (c == u'\u00B5') {
      narrow += "u";  // micro
    } else {
      narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
  }
  return narrow;
}

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
  std::vector<std::string> labels;
  for (const AxisTick& tick : ticks) labels.push_back(Narrow(tick.label));
  return labels;
}

using Texts = std::vector<std::string>;

TEST(NumberLabel, DigitsAndPrefixes) {
  const struct {
    const char* name;
    DecimalNumber number;
    TickLabels labels;
    const char* text;
  } cases[] = {
      {"kilo with a decimal", {25, 2}, TickLabels::kSiPrefixed, "2.5k"},
      {"plain negative fraction", {-5, -1}, TickLabels::kPlain, "-0.5"},
      {"mega", {1, 6}, TickLabels::kSiPrefixed, "1M"},
      {"beyond tera stays in tera", {1, 15}, TickLabels::kSiPrefixed, "1000T"},
      {"below pico stays in pico", {1, -13}, TickLabels::kSiPrefixed, "0.1p"},
      {"micro", {15, -7}, TickLabels::kSiPrefixed, "1.5u"},
      {"milli", {1, -3}, TickLabels::kSiPrefixed, "1m"},
      {"hundred: no prefix", {100, 0}, TickLabels::kSiPrefixed, "100"},
      {"999 stays below kilo", {999, 0}, TickLabels::kSiPrefixed, "999"},
      {"1000 as a mantissa is kilo", {1000, 0}, TickLabels::kSiPrefixed, "1k"},
      {"three digits in kilo", {102, 1}, TickLabels::kSiPrefixed, "1.02k"},
      {"trailing zeros of the mantissa", {1200, -3}, TickLabels::kPlain, "1.2"},
      {"plain keeps the zeros of a large number", {-25, 2}, TickLabels::kPlain, "-2500"},
      {"zero", {0, 7}, TickLabels::kSiPrefixed, "0"},
      {"the most negative mantissa",
       {std::numeric_limits<std::int64_t>::min(), 0},
       TickLabels::kPlain,
       "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Narrow(calc::NumberLabel(c.number, c.labels)), c.text);
  }
}

TEST(NiceStep, OneTwoFiveSteps) {
  const struct {
    const char* name;
    double span;
    int max_ticks;
    DecimalNumber step;
  } cases[] = {
      {"header: ten", 50, 6, {1, 1}},
      {"header: a tenth despite 0.7 / 7 rounding below", 0.7, 8, {1, -1}},
      {"header: fifty", 360, 9, {5, 1}},
      {"two", 3, 3, {2, 0}},
      {"fewer than two ticks asked: two", 1, 1, {1, 0}},
      {"a hostile count is capped", 999, std::numeric_limits<int>::max(), {1, 0}},
      {"zero span", 0, 5, {0, 0}},
      {"negative span", -1, 5, {0, 0}},
      {"no span", kNaN, 5, {0, 0}},
      {"infinite span", kInf, 5, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(calc::NiceStep(c.span, c.max_ticks), c.step);
  }
}

TEST(LinearTicks, MultiplesOfTheStep) {
  const struct {
    const char* name;
    double from, to;
    int max_ticks;
    TickLabels labels;
    Texts texts;
  } cases[] = {
      {"header: gain axis",
       -50,
       10,
       7,
       TickLabels::kPlain,
       {"-50", "-40", "-30", "-20", "-10", "0", "10"}},
      {"ends that are not exact in binary", 0.1, 0.3, 3, TickLabels::kPlain, {"0.1", "0.2", "0.3"}},
      {"zoomed into a peak",
       -0.37,
       0.12,
       6,
       TickLabels::kPlain,
       {"-0.3", "-0.2", "-0.1", "0", "0.1"}},
      {"histogram of fo: 130 / 4 steps of 50",
       1118,
       1248,
       5,
       TickLabels::kSiPrefixed,
       {"1.15k", "1.2k"}},
      {"histogram of fo: 130 / 7 steps of 20",
       1118,
       1248,
       8,
       TickLabels::kSiPrefixed,
       {"1.12k", "1.14k", "1.16k", "1.18k", "1.2k", "1.22k", "1.24k"}},
      {"a step near the span falls back to finer ones",
       1.1,
       1.9,
       2,
       TickLabels::kPlain,
       {"1.2", "1.4", "1.6", "1.8"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Labels(calc::LinearTicks(c.from, c.to, c.max_ticks, c.labels)), c.texts);
  }
  // The values are the doubles of the decimals, not sums of steps.
  const std::vector<AxisTick> ticks = calc::LinearTicks(0.1, 0.3, 3, TickLabels::kPlain);
  ASSERT_EQ(ticks.size(), 3u);
  EXPECT_EQ(ticks[0].value, 0.1);
  EXPECT_EQ(ticks[2].value, 0.3);
}

TEST(LinearTicks, NoTicksForUnusableRanges) {
  const struct {
    const char* name;
    double from, to;
  } cases[] = {
      {"empty", 5, 5},
      {"descending", 5, 4},
      {"no value", kNaN, 4},
      {"infinite", 0, kInf},
      {"span beyond a double", -1.7e308, 1.7e308},
      {"narrower than the values' digits", 1e20, 1e20 + 1e5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(calc::LinearTicks(c.from, c.to, 5, TickLabels::kPlain).empty());
  }
}

TEST(LogTicks, DensestChoiceThatFits) {
  const struct {
    const char* name;
    double from, to;
    int max_ticks;
    Texts texts;
  } cases[] = {
      {"header: decades", 10, 1e5, 6, {"10", "100", "1k", "10k", "100k"}},
      {"header: 1-2-5 in one decade", 100, 1000, 6, {"100", "200", "500", "1k"}},
      {"header: narrow view is linear", 950, 1050, 6, {"960", "980", "1k", "1.02k", "1.04k"}},
      {"default view of a 1 kHz design: 1 and 3",
       9.64575,
       96457.5,
       8,
       {"10", "30", "100", "300", "1k", "3k", "10k", "30k"}},
      {"the same narrower: decades", 9.64575, 96457.5, 7, {"10", "100", "1k", "10k"}},
      {"1 and 3 where 1-2-5 crowd", 150, 9000, 4, {"300", "1k", "3k"}},
      {"every second decade", 10, 1e5, 3, {"100", "10k"}},
      {"fewer than two asked", 10, 1e5, 0, {"100", "10k"}},
      {"no decade inside: 1-2-5", 1200, 8000, 8, {"2k", "5k"}},
      {"no 1-2-5 twice inside: linear", 210, 480, 6, {"300", "400"}},
      {"below a factor of two: linear", 2200, 4100, 6, {"2.5k", "3k", "3.5k", "4k"}},
      {"megahertz", 2e5, 2e7, 7, {"200k", "500k", "1M", "2M", "5M", "10M", "20M"}},
      {"millihertz", 1e-3, 1, 4, {"1m", "10m", "100m", "1"}},
      {"one decade only fits: the denser choice", 110, 9500, 2, {"300", "1k", "3k"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Labels(calc::LogTicks(c.from, c.to, c.max_ticks)), c.texts);
  }
}

TEST(LogTicks, NoTicksForUnusableRanges) {
  const struct {
    const char* name;
    double from, to;
  } cases[] = {
      {"zero start", 0, 10}, {"negative start", -1, 10}, {"empty", 10, 10},
      {"descending", 10, 5}, {"no value", kNaN, 10},     {"infinite end", 1, kInf},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(calc::LogTicks(c.from, c.to, 6).empty());
  }
}

// Whatever the view: at least one labelled tick, inside it, ascending, no two labels alike,
// and no more than asked for unless the rule's denser fallback or finer steps say so.
TEST(LogTicks, EveryViewGetsDistinctOrderedLabels) {
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> exponent(-6.0, 12.0);
  std::uniform_real_distribution<double> width(0.001, 8.0);
  std::uniform_int_distribution<int> most(2, 12);
  for (int trial = 0; trial < 20000; ++trial) {
    const double from = std::pow(10.0, exponent(random));
    const double to = from * std::pow(10.0, width(random));
    const int max_ticks = most(random);
    SCOPED_TRACE(testing::Message() << from << " .. " << to << " at most " << max_ticks);
    const std::vector<AxisTick> ticks = calc::LogTicks(from, to, max_ticks);
    ASSERT_FALSE(ticks.empty());
    std::set<std::u16string> labels;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      EXPECT_GE(ticks[i].value, from * (1 - 1e-9));
      EXPECT_LE(ticks[i].value, to * (1 + 1e-9));
      if (i > 0) {
        EXPECT_LT(ticks[i - 1].value, ticks[i].value);
      }
      EXPECT_TRUE(labels.insert(ticks[i].label).second) << Narrow(ticks[i].label);
    }
    EXPECT_LE(ticks.size(), std::size_t(3 * max_ticks));
  }
  // The whole range of a double: a stride of 200 decades.
  EXPECT_EQ(calc::LogTicks(1e-300, 1e300, 6).size(), 3u);
}

}  // namespace

// Writing values as fixed-point and SI-prefixed texts. Expected texts come from the worked
// examples of the display rules and from hand calculation of the 18-digit decimal form
// (noted next to the cases where the double's expansion decides the rounding).
#include "calc/text/quantity_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "calc/text/quantity_parse.h"

namespace {

using calc::FormatFixed;
using calc::FormatQuantity;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct QuantityCase {
  const char* name;
  double value;
  std::u16string_view text;
};

struct FixedCase {
  const char* name;
  double value;
  int decimals;
  std::u16string_view text;
};

std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (const char16_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return narrow;
}

void ExpectQuantityTexts(std::initializer_list<QuantityCase> cases) {
  for (const QuantityCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Narrow(c.text), Narrow(FormatQuantity(c.value, 8, 3)));
  }
}

void ExpectFixedTexts(std::initializer_list<FixedCase> cases) {
  for (const FixedCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Narrow(c.text), Narrow(FormatFixed(c.value, 0, c.decimals)));
  }
}

TEST(FormatQuantity, HeaderExamples) {
  EXPECT_EQ(FormatFixed(1.0625, 7, 3), u"  1.063");
  EXPECT_EQ(FormatFixed(277.7245, 7, 3), u"277.724");
  EXPECT_EQ(FormatFixed(1e18, 7, 3), u"  1E018");
  EXPECT_EQ(FormatFixed(-2.5, 0, 0), u"-3");
  EXPECT_EQ(FormatQuantity(1591.549, 8, 3), u"  1.592k");
  EXPECT_EQ(FormatQuantity(0.0, 8, 3), u"  0.000");
  EXPECT_EQ(FormatQuantity(999999.7, 8, 3), u"1000.000k");
  EXPECT_EQ(FormatQuantity(kNaN, 8, 3), u"");
}

TEST(FormatQuantity, WorkedExamples) {
  ExpectQuantityTexts({{"kilo", 1591.549, u"  1.592k"},
                       {"zero", 0.0, u"  0.000"},
                       {"negative zero", -0.0, u"  0.000"},
                       {"nano", 2.2e-8, u" 22.000n"},
                       {"hundred nano", 1e-7, u"100.000n"},
                       {"ten tera", 1e13, u" 10.000T"},
                       {"half pico", 5e-13, u"  0.500p"},
                       {"negative kilo", -4700.0, u" -4.700k"},
                       {"exactly kilo", 1000.0, u"  1.000k"},
                       {"rounded kilo", 123456.789, u"123.457k"},
                       {"no prefix rounds up", 1.0005, u"  1.001"},
                       {"rounds past the prefix boundary", 999.9996, u"1000.000"},
                       {"rounds past kilo", 999999.7, u"1000.000k"},
                       {"long tera text is not cut", 1e16, u"10000.000T"},
                       {"exponent form in tera", 1e30, u"  1E018T"}});
  EXPECT_EQ(FormatQuantity(kNaN, 8, 3), u"");
}

TEST(FormatQuantity, BelowPicoAndSigns) {
  ExpectQuantityTexts(
      {{"rounds to zero pico", 4e-16, u"  0.000p"},
       {"negative rounds to zero without sign", -4e-16, u"  0.000p"},
       {"half a unit rounds up", 5e-16, u"  0.001p"},
       {"negative half a unit", -5e-16, u" -0.001p"},
       {"far below pico", 1e-20, u"  0.000p"},
       {"smallest subnormal", std::numeric_limits<double>::denorm_min(), u"  0.000p"},
       {"negative one", -1.0, u" -1.000"},
       {"negative rounding past the boundary", -999.9996, u"-1000.000"},
       {"just below giga boundary", 999.5e9, u"999.500G"},
       {"pico rounding to a thousand", 9.999996e-10, u"1000.000p"}});
}

// The value is divided by the multiplier (the double nearest 1e-9, say), not multiplied
// by its inverse: on these ties the two quotients fall on opposite sides of the half.
TEST(FormatQuantity, DividesByTheMultiplier) {
  ExpectQuantityTexts({{"pico", 1.5e-15, u"  0.002p"},
                       {"pico below a thousandth", 2.15e-14, u"  0.022p"},
                       {"nano", 1.0255e-9, u"  1.025n"},
                       {"micro", 1.0055e-6, u"  1.006u"},
                       {"milli", 1.0275e-3, u"  1.027m"}});
}

// Each prefix starts exactly at its multiplier (the double nearest the power of ten); the
// double just below belongs to the prefix under it and rounds to 1000 of that prefix.
TEST(FormatQuantity, PrefixBoundaries) {
  const struct {
    const char* name;
    double scale;
    std::u16string_view at;
    std::u16string_view below;
    std::u16string_view negative_below;
  } boundaries[] = {
      {"pico", 1e-12, u"  1.000p", u"  1.000p", u" -1.000p"},
      {"nano", 1e-9, u"  1.000n", u"1000.000p", u"-1000.000p"},
      {"micro", 1e-6, u"  1.000u", u"1000.000n", u"-1000.000n"},
      {"milli", 1e-3, u"  1.000m", u"1000.000u", u"-1000.000u"},
      {"none", 1.0, u"  1.000", u"1000.000m", u"-1000.000m"},
      {"kilo", 1e3, u"  1.000k", u"1000.000", u"-1000.000"},
      {"mega", 1e6, u"  1.000M", u"1000.000k", u"-1000.000k"},
      {"giga", 1e9, u"  1.000G", u"1000.000M", u"-1000.000M"},
      {"tera", 1e12, u"  1.000T", u"1000.000G", u"-1000.000G"},
  };
  for (const auto& b : boundaries) {
    SCOPED_TRACE(b.name);
    EXPECT_EQ(Narrow(b.at), Narrow(FormatQuantity(b.scale, 8, 3)));
    EXPECT_EQ(Narrow(b.at), Narrow(FormatQuantity(std::nextafter(b.scale, kInf), 8, 3)));
    EXPECT_EQ(Narrow(b.below), Narrow(FormatQuantity(std::nextafter(b.scale, 0.0), 8, 3)));
    EXPECT_EQ(Narrow(b.negative_below),
              Narrow(FormatQuantity(-std::nextafter(b.scale, 0.0), 8, 3)));
  }
}

TEST(FormatQuantity, EveryDecade) {
  ExpectQuantityTexts({{"1e-16", 1e-16, u"  0.000p"},
                       {"1e-15", 1e-15, u"  0.001p"},
                       {"1e-14", 1e-14, u"  0.010p"},
                       {"1e-13", 1e-13, u"  0.100p"},
                       {"1e-12", 1e-12, u"  1.000p"},
                       {"1e-11", 1e-11, u" 10.000p"},
                       {"1e-10", 1e-10, u"100.000p"},
                       {"1e-9", 1e-9, u"  1.000n"},
                       {"1e-8", 1e-8, u" 10.000n"},
                       {"1e-7", 1e-7, u"100.000n"},
                       {"1e-6", 1e-6, u"  1.000u"},
                       {"1e-5", 1e-5, u" 10.000u"},
                       {"1e-4", 1e-4, u"100.000u"},
                       {"1e-3", 1e-3, u"  1.000m"},
                       {"0.01", 0.01, u" 10.000m"},
                       {"0.1", 0.1, u"100.000m"},
                       {"1", 1.0, u"  1.000"},
                       {"10", 10.0, u" 10.000"},
                       {"100", 100.0, u"100.000"},
                       {"1e3", 1e3, u"  1.000k"},
                       {"1e4", 1e4, u" 10.000k"},
                       {"1e5", 1e5, u"100.000k"},
                       {"1e6", 1e6, u"  1.000M"},
                       {"1e7", 1e7, u" 10.000M"},
                       {"1e8", 1e8, u"100.000M"},
                       {"1e9", 1e9, u"  1.000G"},
                       {"1e10", 1e10, u" 10.000G"},
                       {"1e11", 1e11, u"100.000G"},
                       {"1e12", 1e12, u"  1.000T"},
                       {"1e13", 1e13, u" 10.000T"},
                       {"1e14", 1e14, u"100.000T"},
                       {"1e15", 1e15, u"1000.000T"},
                       {"1e18", 1e18, u"1000000.000T"},
                       {"1e28", 1e28, u"10000000000000000.000T"},
                       {"1e29 / 1e12 is a hair below 1e17", 1e29, u"99999999999999987.000T"},
                       {"1e30", 1e30, u"  1E018T"},
                       {"1e300", 1e300, u"  1E288T"},
                       {"-1e300", -1e300, u" -1E288T"}});
}

// Rounding is decided on the 18-digit form of the double, half away from zero.
TEST(FormatFixed, RoundingOnTheDecimalForm) {
  ExpectFixedTexts({
      {"exact tie rounds away", 1.0625, 3, u"1.063"},
      {"double a hair below the tie: form 100050000000000000", 1.0005, 3, u"1.001"},
      {"same at ten", 10.0005, 3, u"10.001"},
      {"form 277724499999999968 rounds down", 277.7245, 3, u"277.724"},
      {"form 100499999999999984 rounds down", 1.005, 2, u"1.00"},
      {"form 267499999999999984 rounds down", 2.675, 2, u"2.67"},
      {"form 150000000000000000 rounds up", 0.15, 1, u"0.2"},
      {"exact quarter", 0.25, 1, u"0.3"},
      {"no decimals: tie away from zero", 2.5, 0, u"3"},
      {"no decimals: negative tie", -2.5, 0, u"-3"},
      {"no decimals: half", 0.5, 0, u"1"},
      {"no decimals: below half", 0.49999999999999994, 0, u"0"},
      {"no decimals: large", 1234.5, 0, u"1235"},
      {"carry into a new digit", 9.9995, 3, u"10.000"},
      {"carry into the hundreds", 99.9995, 3, u"100.000"},
      {"rounds up from nothing retained", 0.0005, 3, u"0.001"},
      {"negative rounds to zero without sign", -0.0004, 3, u"0.000"},
      {"tiny negative", -1e-5, 3, u"0.000"},
      {"many decimals: places past 17 digits are zeros", 0.1, 20, u"0.10000000000000000000"},
      {"seventeen significant digits", 1.0 / 3.0, 17, u"0.33333333333333331"},
      {"zeros after the seventeenth digit", 2.0 / 3.0, 25, u"0.6666666666666666200000000"},
      {"integer digits beyond the double's precision", 99999999999999984.0, 3,
       u"99999999999999987.000"},
      {"zero", 0.0, 3, u"0.000"},
      {"negative zero", -0.0, 0, u"0"},
  });
}

TEST(FormatFixed, ExponentForm) {
  ExpectFixedTexts({
      {"1e17", 1e17, 3, u"1E017"},
      {"one and a half", 1.5e17, 3, u"1.5E017"},
      {"negative", -1.5e17, 3, u"-1.5E017"},
      {"1e18", 1e18, 3, u"1E018"},
      {"seventeen digits", 123456789012345678.0, 3, u"1.2345678901234568E017"},
      {"2^60", 1152921504606846976.0, 0, u"1.152921504606847E018"},
      {"1e300", 1e300, 3, u"1E300"},
      {"largest double", DBL_MAX, 3, u"1.7976931348623158E308"},
      {"no decimals", 1e20, 0, u"1E020"},
  });
}

// Magnitudes whose power of ten is outside the exact range need the exactly rounded
// product; these texts show the double's true decimal expansion.
TEST(FormatFixed, TinyValuesWithManyDecimals) {
  ExpectFixedTexts({
      {"1e-30", 1e-30, 40, u"0.0000000000000000000000000000010000000000"},
      {"1.5e-25 at 26 places", 1.5e-25, 26, u"0.00000000000000000000000015"},
      {"1.5e-25 at 25 places rounds up", 1.5e-25, 25, u"0.0000000000000000000000002"},
      {"4.4e-26", 4.4e-26, 26, u"0.00000000000000000000000004"},
  });
  // The smallest subnormal is 4.9406564584124654...e-324: seven digits, the eighth is 4.
  const std::u16string tiny = FormatFixed(std::numeric_limits<double>::denorm_min(), 0, 330);
  EXPECT_EQ(tiny, u"0." + std::u16string(323, u'0') + u"4940656");
  const std::u16string negative_tiny = FormatFixed(-1e-200, 0, 205);
  EXPECT_EQ(negative_tiny, u"-0." + std::u16string(199, u'0') + u"100000");
}

// The decimal form is the exactly rounded product on both sides of the range where the
// power of ten is itself an exact double (powers 21 and 22 inside, 23 and 24 outside).
TEST(FormatFixed, BothSidesOfTheExactPowerRange) {
  ExpectFixedTexts({
      {"power 21", 9.87654321987654321e-4, 21, u"0.000987654321987654400"},
      {"power 22", 9.87654321987654321e-5, 22, u"0.0000987654321987654270"},
      {"power 23", 9.87654321987654321e-6, 23, u"0.00000987654321987654270"},
      {"power 24", 9.87654321987654321e-7, 24, u"0.000000987654321987654270"},
      {"power -21", 9.87654321987654321e38, 0, u"9.8765432198765427E038"},
      {"power -22", 9.87654321987654321e39, 0, u"9.8765432198765427E039"},
      {"power -23", 9.87654321987654321e40, 0, u"9.8765432198765427E040"},
      {"power -24", 9.87654321987654321e41, 0, u"9.8765432198765427E041"},
  });
}

TEST(FormatFixed, WidthFillsOnTheLeftOnly) {
  EXPECT_EQ(FormatFixed(1.5, 7, 3), u"  1.500");
  EXPECT_EQ(FormatFixed(-1.5, 7, 3), u" -1.500");
  EXPECT_EQ(FormatFixed(12345.5, 7, 3), u"12345.500") << "not cut";
  EXPECT_EQ(FormatFixed(1.5, 0, 3), u"1.500");
  EXPECT_EQ(FormatQuantity(1500.0, 12, 3), u"      1.500k");
  EXPECT_EQ(FormatQuantity(1.5, 12, 3), u"      1.500");
  EXPECT_EQ(FormatQuantity(1500.0, 8, 0), u"      2k");
  EXPECT_EQ(FormatQuantity(1.5e-9, 8, 5), u"1.50000n");
}

TEST(FormatFixed, OutsideArgumentsAreClamped) {
  EXPECT_EQ(FormatFixed(2.5, 0, -5), u"3") << "negative decimals count as none";
  EXPECT_EQ(FormatFixed(2.5, 0, INT_MIN), u"3");
  const std::u16string thousand = FormatFixed(1.0, 0, 1000);
  EXPECT_EQ(thousand.size(), 1002u);
  EXPECT_EQ(FormatFixed(1.0, 0, 5000), thousand) << "decimals above 1000 count as 1000";
  EXPECT_EQ(FormatFixed(1.0, 0, INT_MAX), thousand);

  EXPECT_EQ(FormatFixed(1.0, -7, 3), u"1.000");
  EXPECT_EQ(FormatFixed(1.0, INT_MIN, 3), u"1.000");
  EXPECT_EQ(FormatFixed(1.0, INT_MAX, 3), std::u16string(1019, u' ') + u"1.000")
      << "widths above 1024 count as 1024";
  EXPECT_EQ(FormatQuantity(1000.0, INT_MIN, 3), u"1.000k");
  EXPECT_EQ(FormatQuantity(1.0, 0, 3), u"1.000");
  EXPECT_EQ(FormatQuantity(1000.0, INT_MAX, 3), std::u16string(1018, u' ') + u"1.000k");
  EXPECT_EQ(FormatQuantity(1000.0, 8, INT_MAX).size(), 1003u);
}

TEST(FormatFixed, NonFiniteValues) {
  EXPECT_EQ(FormatFixed(kInf, 7, 3), u"    INF");
  EXPECT_EQ(FormatFixed(-kInf, 7, 3), u"   -INF");
  EXPECT_EQ(FormatFixed(kNaN, 0, 3), u"NAN");
  EXPECT_EQ(FormatQuantity(kInf, 8, 3), u"    INF");
  EXPECT_EQ(FormatQuantity(-kInf, 8, 3), u"   -INF");
  EXPECT_EQ(FormatQuantity(-kNaN, 8, 3), u"");
}

// What the program writes it must read back: within half a unit of the last decimal of
// the written prefix, or within 1e-15 relative where the digits run out (exponent form).
double HalfUnitOfThirdDecimal(std::u16string_view text) {
  const char16_t last = text.empty() ? u' ' : text.back();
  switch (last) {
    case u'p':
      return 0.0005e-12;
    case u'n':
      return 0.0005e-9;
    case u'u':
      return 0.0005e-6;
    case u'm':
      return 0.0005e-3;
    case u'k':
      return 0.0005e3;
    case u'M':
      return 0.0005e6;
    case u'G':
      return 0.0005e9;
    case u'T':
      return 0.0005e12;
    default:
      return 0.0005;
  }
}

void ExpectReadsBack(double value) {
  const std::u16string text = FormatQuantity(value, 8, 3);
  const double back = calc::ParseQuantity(text);
  const double tolerance = HalfUnitOfThirdDecimal(text) * (1 + 1e-12) + 1e-15 * std::fabs(value);
  EXPECT_LE(std::fabs(back - value), tolerance) << value << " wrote \"" << Narrow(text) << '"';
}

TEST(FormatQuantity, ReadsBackEveryDecadeAndItsEdges) {
  const double mantissas[] = {1.0,     1.0005,   1.2345678, 2.2,     4.7,     5.0,
                              9.99949, 9.999951, 9.9999999, 99.9995, 999.9996};
  for (int exponent = -20; exponent <= 40; ++exponent) {
    for (const double mantissa : mantissas) {
      const double value = mantissa * std::pow(10.0, exponent);
      ExpectReadsBack(value);
      ExpectReadsBack(-value);
      ExpectReadsBack(std::nextafter(value, 0.0));
      ExpectReadsBack(std::nextafter(value, kInf));
    }
  }
}

TEST(FormatQuantity, ReadsBackArbitraryDoubles) {
  std::mt19937_64 bits(20240611);  // fixed seed: the same doubles on every run
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(bits());
    if (!std::isfinite(value) || std::fabs(value) > 1e300) continue;  // 1e308 may print past max
    ExpectReadsBack(value);
  }
}

}  // namespace

// Reading typed quantities and series sizes. Expected values are written as C++ literals
// or as the one scaling operation the prefix stands for (22 / 1e9), and compared bit for
// bit: the calculator formats results to the last digit, so "close" is not enough.
#include "calc/text/quantity_parse.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

using calc::ParseQuantity;
using calc::ParseSeriesSize;

struct ValueCase {
  const char* name;
  std::u16string_view text;
  double expected;
};

struct NoValueCase {
  const char* name;
  std::u16string_view text;
};

// Same double, sign of zero included.
void ExpectSameDouble(double expected, double actual) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(expected), std::bit_cast<std::uint64_t>(actual))
      << "expected " << expected << ", got " << actual;
}

void ExpectValues(std::initializer_list<ValueCase> cases) {
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameDouble(c.expected, ParseQuantity(c.text));
  }
}

void ExpectNoValue(std::initializer_list<NoValueCase> cases) {
  for (const NoValueCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(std::isnan(ParseQuantity(c.text))) << "got " << ParseQuantity(c.text);
  }
}

TEST(ParseQuantity, HeaderExamples) {
  ExpectValues({{"4.7k", u"4.7k", 4700.0},
                {"22n is the quotient", u"22n", 22.0 / 1e9},
                {"4k7", u"4k7", 4700.0},
                {"grouped", u"1,000", 1000.0}});
  EXPECT_TRUE(std::isnan(ParseQuantity(u"k")));
}

TEST(ParseQuantity, NumberGrammar) {
  ExpectValues({{"integer", u"1", 1.0},
                {"plus sign", u"+1", 1.0},
                {"minus sign", u"-1", -1.0},
                {"no integer digits", u".5", 0.5},
                {"no fraction digits", u"1.", 1.0},
                {"fraction", u"1.5", 1.5},
                {"leading zeros", u"007", 7.0},
                {"exponent", u"1e3", 1000.0},
                {"upper-case exponent with sign", u"1E+3", 1000.0},
                {"negative exponent", u"5e-1", 0.5},
                {"point then exponent", u"1.e2", 100.0},
                {"negative zero", u"-0", -0.0},
                {"positive zero", u"0", 0.0},
                {"negative zero with fraction", u"-0.000", -0.0}});
}

TEST(ParseQuantity, MalformedNumbersGiveNoValue) {
  ExpectNoValue({{"exponent without digits", u"1e"},
                 {"upper-case exponent without digits", u"1E"},
                 {"exponent sign without digits", u"1e+"},
                 {"point alone", u"."},
                 {"plus alone", u"+"},
                 {"minus alone", u"-"},
                 {"exponent without mantissa", u"e3"},
                 {"point and exponent only", u".e1"},
                 {"two signs", u"+-1"},
                 {"sign inside", u"1-2"},
                 {"two points", u"1.2.3"},
                 {"point in exponent", u"1e3.5"},
                 {"trailing exponent before suffix", u"1.5e"},
                 {"exponent letter before prefix", u"1Ek"},
                 {"two exponents", u"1e3e3"},
                 {"sign after digits of exponent", u"1e3-"}});
}

TEST(ParseQuantity, EmptyAndNonNumericTexts) {
  ExpectNoValue({{"empty", u""},
                 {"spaces", u"   "},
                 {"comma", u","},
                 {"commas and spaces", u" , ,, "},
                 {"prefix letter only", u"k"},
                 {"word", u"abc"},
                 {"full-width digits", u"\uFF11\uFF10\uFF4B"},
                 {"leading ideographic space", u"\u30001k"},
                 {"leading no-break space", u"\u00A01"},
                 {"control after a comma", u",\t5"},
                 {"controls only", u"\t\r\n"}});
}

TEST(ParseQuantity, PrefixLetters) {
  ExpectValues({{"p", u"1p", 1.0 / 1e12},
                {"P is pico", u"1P", 1.0 / 1e12},
                {"n", u"1n", 1.0 / 1e9},
                {"N", u"1N", 1.0 / 1e9},
                {"u", u"1u", 1.0 / 1e6},
                {"U", u"1U", 1.0 / 1e6},
                {"m is milli", u"1m", 1.0 / 1e3},
                {"k", u"1k", 1e3},
                {"K", u"1K", 1e3},
                {"M is mega", u"1M", 1e6},
                {"g", u"1g", 1e9},
                {"G", u"1G", 1e9},
                {"t", u"1t", 1e12},
                {"T", u"1T", 1e12},
                {"Greek mu", u"2.2\u03BC", 2.2 / 1e6},
                {"micro sign", u"10\u00B5", 10.0 / 1e6}});
}

TEST(ParseQuantity, FullWidthPrefixLetters) {
  ExpectValues({{"wide p", u"1\uFF50", 1.0 / 1e12},
                {"wide P", u"1\uFF30", 1.0 / 1e12},
                {"wide n", u"1\uFF4E", 1.0 / 1e9},
                {"wide N", u"1\uFF2E", 1.0 / 1e9},
                {"wide u", u"1\uFF55", 1.0 / 1e6},
                {"wide U", u"1\uFF35", 1.0 / 1e6},
                {"wide m", u"1\uFF4D", 1.0 / 1e3},
                {"wide k", u"10\uFF4B", 1e4},
                {"wide K", u"10\uFF2B", 1e4},
                {"wide M", u"1\uFF2D", 1e6},
                {"wide g", u"1\uFF47", 1e9},
                {"wide G", u"1\uFF27", 1e9},
                {"wide t", u"1\uFF54", 1e12},
                {"wide T", u"1\uFF34", 1e12}});
}

// Every UTF-16 code unit after a digit ("4x") and between two ("4x7"), against the SI
// prefix letters written out here: a prefix letter scales, R and r stand for the point in
// resistor notation, and any other unit is a suffix that changes nothing. Digits, the
// number's own characters, grouping and blanks have their own tests above. Surrogates
// are single code units here too: no prefix lies outside the Basic Multilingual Plane.
TEST(ParseQuantity, EveryCodeUnitAfterADigit) {
  struct Prefix {
    char16_t letter;
    double power_of_ten;
    bool divides;
  };
  constexpr Prefix kPrefixes[] = {
      {u'p', 1e12, true},      {u'P', 1e12, true},       {u'\uFF50', 1e12, true},
      {u'\uFF30', 1e12, true}, {u'n', 1e9, true},        {u'N', 1e9, true},
      {u'\uFF4E', 1e9, true},  {u'\uFF2E', 1e9, true},   {u'u', 1e6, true},
      {u'U', 1e6, true},       {u'\uFF55', 1e6, true},   {u'\uFF35', 1e6, true},
      {u'\u03BC', 1e6, true},  {u'\u00B5', 1e6, true},   {u'm', 1e3, true},
      {u'\uFF4D', 1e3, true},  {u'k', 1e3, false},       {u'K', 1e3, false},
      {u'\uFF4B', 1e3, false}, {u'\uFF2B', 1e3, false},  {u'M', 1e6, false},
      {u'\uFF2D', 1e6, false}, {u'g', 1e9, false},       {u'G', 1e9, false},
      {u'\uFF47', 1e9, false}, {u'\uFF27', 1e9, false},  {u't', 1e12, false},
      {u'T', 1e12, false},     {u'\uFF54', 1e12, false}, {u'\uFF34', 1e12, false},
  };
  const std::u16string_view number_and_grouping = u"0123456789+-.eE, ";
  int prefixes_seen = 0;
  for (std::uint32_t unit = u' ' + 1; unit <= 0xFFFF; ++unit) {
    const auto letter = static_cast<char16_t>(unit);
    if (number_and_grouping.find(letter) != std::u16string_view::npos) continue;
    double scale_4 = 4.0, scale_4_7 = letter == u'R' || letter == u'r' ? 4.7 : 4.0;
    for (const Prefix& prefix : kPrefixes) {
      if (prefix.letter != letter) continue;
      ++prefixes_seen;
      scale_4 = prefix.divides ? 4.0 / prefix.power_of_ten : 4.0 * prefix.power_of_ten;
      scale_4_7 = prefix.divides ? 4.7 / prefix.power_of_ten : 4.7 * prefix.power_of_ten;
    }
    const std::u16string after{u'4', letter};
    const std::u16string between{u'4', letter, u'7'};
    const double value_after = ParseQuantity(after);
    const double value_between = ParseQuantity(between);
    // One failure line per unit, not two million lines of passes.
    if (std::bit_cast<std::uint64_t>(value_after) != std::bit_cast<std::uint64_t>(scale_4) ||
        std::bit_cast<std::uint64_t>(value_between) != std::bit_cast<std::uint64_t>(scale_4_7)) {
      ADD_FAILURE() << "U+" << std::hex << unit << ": 4x -> " << value_after << " (expected "
                    << scale_4 << "), 4x7 -> " << value_between << " (expected " << scale_4_7
                    << ")";
    }
  }
  EXPECT_EQ(prefixes_seen, 30);
}

TEST(ParseQuantity, UnitsAndOtherLettersAreNotPrefixes) {
  ExpectValues({{"kilo-ohm", u"1kOhm", 1000.0},
                {"megahertz", u"1MHz", 1e6},
                {"hertz", u"100Hz", 100.0},
                {"microfarad", u"10uF", 10.0 / 1e6},
                {"millihenry", u"2mH", 2.0 / 1e3},
                {"farad", u"1F", 1.0},
                {"ohm sign", u"47\u03A9", 47.0},
                {"trailing word", u"12abc", 12.0},
                {"no peta", u"1Pa", 1.0 / 1e12},
                {"femto is not known", u"1f", 1.0},
                {"exa is not known", u"1E3X", 1000.0},
                {"ideographic space becomes the suffix", u"1.5\u3000k", 1.5},
                {"no-break space becomes the suffix", u"1.5\u00A0k", 1.5}});
}

TEST(ParseQuantity, SmallPrefixesDivideByExactPowersOfTen) {
  // 22 times the double nearest 1e-9 is a different double from 22 / 1e9.
  ASSERT_NE(std::bit_cast<std::uint64_t>(22.0 * 1e-9), std::bit_cast<std::uint64_t>(22.0 / 1e9));
  ExpectValues({{"nano", u"22n", 22.0 / 1e9},
                {"micro", u"4.7u", 4.7 / 1e6},
                {"pico", u"33p", 33.0 / 1e12},
                {"milli", u"0.1m", 0.1 / 1e3}});
  EXPECT_EQ(ParseQuantity(u"22n"), 2.2e-08);
}

TEST(ParseQuantity, GroupingCommasSpacesAndBlanks) {
  ExpectValues({{"comma grouping", u"1,000", 1000.0},
                {"space grouping", u"1 000 000", 1e6},
                {"comma is no decimal separator", u"1,5", 15.0},
                {"spaces around", u" 4.7 k ", 4700.0},
                {"spaces everywhere", u"2 . 2 n", 2.2 / 1e9},
                {"tab before the prefix", u"1.5\tk", 1500.0},
                {"line breaks around", u"\r\n47k\r\n", 47000.0},
                {"comma before the prefix", u"4,7,k", 47000.0},
                {"exponent then prefix", u"1e3k", 1e6},
                {"negative exponent then mega", u"5e-1M", 500000.0},
                {"suffix after a tab is cut at its first character", u"1\tkOhm", 1000.0}});
}

TEST(ParseQuantity, ResistorCodeNotation) {
  ExpectValues({{"kilo", u"4k7", 4.7 * 1e3},
                {"same double as 4.7k", u"4k7", ParseQuantity(u"4.7k")},
                {"nano", u"2n2", 2.2 / 1e9},
                {"mega", u"1M5", 1.5 * 1e6},
                {"R", u"4R7", 4.7},
                {"r", u"4r7", 4.7},
                {"negative", u"-4k7", -4.7 * 1e3},
                {"plus sign", u"+4k7", 4.7 * 1e3},
                {"unit after the digits", u"4k7Ohm", 4.7 * 1e3},
                {"several digits", u"1k234", 1.234 * 1e3},
                {"micro sign", u"4\u00B57", 4.7 / 1e6},
                {"Greek mu", u"4\u03BC7", 4.7 / 1e6},
                {"full-width k", u"4\uFF4B7", 4.7 * 1e3},
                {"milli", u"4m7", 4.7 / 1e3},
                {"pico", u"6p8", 6.8 / 1e12},
                {"zero before the letter", u"0R5", 0.5},
                {"leading zeros", u"007k5", 7.5 * 1e3},
                {"grouping inside", u"4k 7,5", 4.75 * 1e3},
                {"fraction digits only up to the first non-digit", u"4k7.5", 4.7 * 1e3},
                {"R alone does not scale", u"4R", 4.0}});
}

TEST(ParseQuantity, ResistorCodeNeedsAPlainIntegerAndAdjacentDigits) {
  ExpectValues({{"fraction before the letter", u"4.7k3", 4700.0},
                {"exponent before the letter", u"1e3k5", 1e6},
                {"point without fraction", u"4.k7", 4000.0},
                {"letter then unit", u"1kOhm", 1000.0},
                {"tab between letter and digits", u"4k\t7", 4000.0},
                {"full-width digit after the letter", u"4k\uFF17", 4000.0},
                {"other letter", u"4x7", 4.0},
                {"E is part of the number", u"4E7", 4e7}});
}

TEST(ParseQuantity, CorrectlyRoundedConversion) {
  ExpectValues({
      {"one tenth", u"0.1", 0.1},
      {"largest double", u"1.7976931348623157e308", DBL_MAX},
      {"just below the halfway to overflow", u"1.7976931348623158e308", DBL_MAX},
      {"smallest normal", u"2.2250738585072014e-308", DBL_MIN},
      {"hard case near the smallest normal", u"2.2250738585072011e-308",
       std::nextafter(DBL_MIN, 0.0)},
      {"2^53 + 1 ties to even", u"9007199254740993", 9007199254740992.0},
      {"2^53 + 3 ties to even", u"9007199254740995", 9007199254740996.0},
      {"exact midpoint above 1 ties to even",
       u"1.00000000000000011102230246251565404236316680908203125", 1.0},
      {"a hair above the midpoint", u"1.000000000000000111022302462515654042363166809082031251",
       std::nextafter(1.0, 2.0)},
      {"smallest subnormal", u"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
      {"rounds up to the smallest subnormal", u"3e-324", std::numeric_limits<double>::denorm_min()},
      {"subnormal", u"1e-320", 1e-320},
  });
}

TEST(ParseQuantity, RangeAndExponentLimits) {
  ExpectValues({{"exponent with leading zeros", u"1e0003", 1000.0},
                {"largest exponent digits, negative", u"1e-1024", 0.0},
                {"power of ten 631 with zero", u"0e631", 0.0},
                {"power 631 after fraction digits", u"0.0e632", 0.0},
                {"below the smallest subnormal", u"1e-400", 0.0},
                {"negative below the smallest subnormal", u"-1e-400", -0.0},
                {"rounds down to zero", u"2e-324", 0.0},
                {"many fraction zeros make a tiny power", u"1.0000000000000000000000000e-330", 0.0},
                {"underflow with a large integer part", u"123456e-330", 0.0}});
  ExpectNoValue({{"beyond the largest double", u"1e400"},
                 {"beyond by a hair", u"1.8e308"},
                 {"above the halfway to overflow", u"1.7976931348623159e308"},
                 {"exponent digits above 1024", u"1e1025"},
                 {"negative exponent digits above 1024", u"1e-1025"},
                 {"exponent 1024 makes a power of ten too large", u"0e1024"},
                 {"power of ten 632 with zero", u"0e632"},
                 {"power of ten 631 overflows", u"1e631"},
                 {"overflow with a small exponent", u"100000000000000000000e300"}});
}

TEST(ParseQuantity, PrefixScalingRange) {
  ExpectValues({{"underflow is quiet", u"1e-320p", 0.0},
                {"negative underflow keeps the sign", u"-1e-320p", -0.0},
                {"subnormal after scaling", u"1e-300p", 1e-300 / 1e12},
                {"largest double unscaled by milli", u"1.7976931348623157e308m", DBL_MAX / 1e3}});
  ExpectNoValue({{"tera overflows", u"1e300T"},
                 {"kilo overflows", u"1e308k"},
                 {"largest double times kilo", u"1.7976931348623157e308k"},
                 {"negative overflow", u"-1e300T"}});
}

TEST(ParseQuantity, HostileTexts) {
  const std::u16string commas(1 << 20, u',');
  EXPECT_TRUE(std::isnan(ParseQuantity(commas)));
  EXPECT_EQ(ParseQuantity(commas + u"5k" + commas), 5000.0);

  const std::u16string zeros(1 << 20, u'0');
  EXPECT_EQ(ParseQuantity(u"1." + zeros), 1.0) << "trailing fraction zeros change nothing";
  EXPECT_EQ(ParseQuantity(zeros + u"47k"), 47000.0);
  EXPECT_EQ(ParseQuantity(u"1e" + zeros + u"3"), 1000.0) << "leading zeros of the exponent";
  EXPECT_EQ(ParseQuantity(u"0." + zeros + u"1e1024"), 0.0) << "far below the smallest subnormal";
  EXPECT_TRUE(std::isnan(ParseQuantity(u"1" + zeros))) << "far beyond the largest double";
  EXPECT_EQ(ParseQuantity(u"4k7" + zeros), 4700.0) << "long resistor-code fraction";

  const std::u16string nines(1 << 20, u'9');
  EXPECT_EQ(ParseQuantity(u"0." + nines), 1.0);

  const std::u16string controls(1 << 20, u'\x01');
  EXPECT_TRUE(std::isnan(ParseQuantity(controls)));
  EXPECT_EQ(ParseQuantity(controls + u"2" + controls), 2.0);
  EXPECT_EQ(ParseQuantity(u"2" + controls + u"n" + controls + u"x"), 2.0 / 1e9);
}

TEST(ParseQuantity, SurrogatesAndNulAreOrdinaryCodeUnits) {
  using namespace std::string_view_literals;
  ExpectValues({{"NUL before the prefix", u"1\0k"sv, 1000.0},
                {"NUL at both ends",
                 u"\0"
                 u"1k\0"sv,
                 1000.0},
                {"NUL after the prefix",
                 u"1k\0"
                 u"5"sv,
                 1000.0},
                {"lone low surrogate as suffix", u"5\xDC00"sv, 5.0},
                {"lone high surrogate as suffix", u"5\xD800k"sv, 5.0},
                {"NUL ends the number; the digit after it is no prefix",
                 u"1\0"
                 u"5"sv,
                 1.0}});
  ExpectNoValue({{"lone high surrogate first",
                  u"\xD800"
                  u"5"sv},
                 {"lone surrogates only", u"\xDC00\xD800"sv}});
}

struct SeriesCase {
  const char* name;
  std::u16string_view text;
  std::int32_t expected;
};

TEST(ParseSeriesSize, Texts) {
  const SeriesCase cases[] = {
      {"plain", u"24", 24},
      {"leading spaces", u"  24", 24},
      {"trailing space fails", u"24 ", 0},
      {"plus", u"+24", 24},
      {"minus", u"-3", -3},
      {"dollar hex", u"$18", 24},
      {"x hex", u"x18", 24},
      {"X hex", u"X18", 24},
      {"0x hex", u"0x18", 24},
      {"0X hex", u"0X18", 24},
      {"hex letters both cases", u"$aF", 175},
      {"negative hex", u"-$18", -24},
      {"hex all ones is minus one", u"$FFFFFFFF", -1},
      {"negated all ones", u"-$FFFFFFFF", 1},
      {"hex leading zeros do not count", u"$000000007FFFFFFF", 2147483647},
      {"nine significant hex digits fail", u"$100000000", 0},
      {"most negative hex pattern", u"$80000000", -2147483647 - 1},
      {"negated most negative pattern wraps", u"-$80000000", -2147483647 - 1},
      {"largest int32", u"2147483647", 2147483647},
      {"smallest int32", u"-2147483648", -2147483647 - 1},
      {"one above int32", u"2147483648", 0},
      {"one below int32", u"-2147483649", 0},
      {"leading zeros", u"00024", 24},
      {"zero", u"0", 0},
      {"infinity sign", u"\u221E", 0},
      {"empty", u"", 0},
      {"spaces only", u"   ", 0},
      {"sign only", u"-", 0},
      {"hex mark only", u"$", 0},
      {"0x only", u"0x", 0},
      {"decimal point", u"24.0", 0},
      {"exponent", u"1e2", 0},
      {"full-width digits", u"\uFF12\uFF14", 0},
      {"space after sign", u"- 3", 0},
      {"tab before", u"\t24", 0},
      {"hex letters without mark", u"1A", 0},
      {"hex mark after 0x", u"0x$18", 0},
      {"two signs", u"+-3", 0},
  };
  for (const SeriesCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ParseSeriesSize(c.text));
  }
}

TEST(ParseSeriesSize, HostileTexts) {
  EXPECT_EQ(ParseSeriesSize(std::u16string(1 << 20, u'9')), 0);
  EXPECT_EQ(ParseSeriesSize(std::u16string(1 << 20, u'0') + u"12"), 12);
  EXPECT_EQ(ParseSeriesSize(u"$" + std::u16string(1 << 20, u'0') + u"C"), 12);
  EXPECT_EQ(ParseSeriesSize(std::u16string(1 << 20, u' ') + u"12"), 12);
}

}  // namespace

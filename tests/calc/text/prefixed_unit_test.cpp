// Values in a unit with its own prefix: three decimals, more for three significant digits
// of a small value; expected texts by hand.
#include "calc/text/prefixed_unit.h"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>

namespace {

TEST(FormatPrefixedUnit, HeaderExamplesAndSmallValues) {
  const struct {
    const char* name;
    double value;
    std::u16string_view text;
  } cases[] = {
      {"a quarter: no milli", 0.250293, u"0.250"},
      {"whole", 13.0, u"13.000"},
      {"below 0.01: more decimals", 0.006061, u"0.00606"},
      {"large", 1234.5678, u"1234.568"},
      {"at 0.1 three decimals suffice", 0.1, u"0.100"},
      {"just below 0.1", 0.09996, u"0.1000"},
      {"an audio stage's slew at 1 V", 6.283185e-5, u"0.0000628"},
      {"zero", 0.0, u"0.000"},
      {"tiny values stop at 15 decimals", 1e-20, u"0.000000000000000"},
      {"negative", -0.5, u"-0.500"},
      {"infinite", std::numeric_limits<double>::infinity(), u"INF"},
      {"no value", std::numeric_limits<double>::quiet_NaN(), u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(calc::FormatPrefixedUnit(c.value) == c.text);
  }
}

}  // namespace

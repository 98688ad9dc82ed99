// The value a shown text stands for: what a field holds once the text is in it.
#include "calc/text/displayed_value.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/circuit/circuit.h"

namespace {

TEST(DisplayedValue, IsThePartTheTextStandsFor) {
  struct Case {
    double value, displayed;
  };
  const Case cases[] = {
      {1.4999999999999492e-09, 1.5e-09},  // E6's 1.5 nF as the series computes it
      {10610.32953945969, 10610.0},       // unsnapped: three decimals of its prefix
      {22000.0, 22000.0},
      {4.7e-16, 0.0},  // below the format's smallest step
  };
  for (const Case& c : cases) EXPECT_EQ(calc::DisplayedValue(c.value), c.displayed) << c.value;
  EXPECT_TRUE(std::isnan(calc::DisplayedValue(calc::kNoValue)));
}

}  // namespace

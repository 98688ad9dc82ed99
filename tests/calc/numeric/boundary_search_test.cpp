// The search for where a condition stops holding, on conditions whose boundary is known.
#include "calc/numeric/boundary_search.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(LowestHoldingFromAbove, FindsTheHighestBoundaryFromTheHoldingSide) {
  const auto at_least_three = [](double x) { return x >= 3; };
  const double found = calc::LowestHoldingFromAbove(at_least_three, 100, 1e-6);
  EXPECT_GE(found, 3.0);
  EXPECT_LT(found, 3.0 * (1 + 1e-9));
  // Holding again below a gap does not count: the boundary from above is 10.
  const auto gapped = [](double x) { return x >= 10 || (x >= 1 && x <= 2); };
  EXPECT_NEAR(calc::LowestHoldingFromAbove(gapped, 1e3, 1e-6), 10.0, 1e-8);
  // A start guessed too low is raised until it holds.
  const double raised = calc::LowestHoldingFromAbove(at_least_three, 1, 1e-6);
  EXPECT_GE(raised, 3.0);
  EXPECT_LT(raised, 3.0 * (1 + 1e-9));
}

TEST(LowestHoldingFromAbove, ConditionThatNeverHoldsOrNeverBreaks) {
  EXPECT_TRUE(std::isnan(calc::LowestHoldingFromAbove([](double) { return false; }, 1e3, 1)));
  // Always true: the steps go below the floor and the last value that held comes back.
  const double last = calc::LowestHoldingFromAbove([](double) { return true; }, 100, 1);
  EXPECT_GE(last, 1.0);
  EXPECT_LT(last, 1.25 * 1.25);
}

}  // namespace

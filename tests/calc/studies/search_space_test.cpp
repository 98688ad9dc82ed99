// The sets the joint search looks at: the capacitor pairs and each pair's resistor
// candidates, as the E-series tables give them.
#include "calc/studies/search_space.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using calc::DesignRequest;
using calc::SearchSpace;

void ExpectValues(const std::vector<double>& values, const std::vector<double>& expected) {
  ASSERT_EQ(values.size(), expected.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_NEAR(values[i], expected[i], expected[i] * 1e-12) << i;
  }
}

TEST(BuildSearchSpace, HeaderExample) {
  const DesignRequest request{1e3, 1, 1, 10e3, 24, 6};
  const SearchSpace space =
      calc::BuildSearchSpace(request, calc::Design(request).Snapped, 1, std::nullopt, 1);
  ExpectValues(space.C1, {10e-9, 15e-9, 22e-9});
  ExpectValues(space.C2, {10e-9, 15e-9, 22e-9});
  ASSERT_EQ(space.pairs.size(), 9U);
  EXPECT_EQ(space.unsolved_pairs, 0);
  EXPECT_EQ(space.SetCount(), 9 * 27);
  // The design's own pair (15n, 15n): R1 = R2 = 10.61k and R3 = 21.22k continuous, 11k and
  // 22k snapped in E24, one step either side.
  const calc::SearchPair& centre = space.pairs[4];
  EXPECT_EQ(centre.continuous.C1, centre.continuous.C2);
  ExpectValues(centre.R1, {10e3, 11e3, 12e3});
  ExpectValues(centre.R2, {10e3, 11e3, 12e3});
  ExpectValues(centre.R3, {20e3, 22e3, 24e3});
  const calc::Circuit first = centre.Set(0), last = centre.Set(26), r3_steps = centre.Set(1);
  EXPECT_NEAR(first.R1, 10e3, 1e-9);
  EXPECT_NEAR(last.R3, 24e3, 1e-9);
  EXPECT_NEAR(r3_steps.R3, 22e3, 1e-9);  // R3 steps fastest
  EXPECT_NEAR(r3_steps.R1, 10e3, 1e-9);
}

// A locked C2 stays; a pair whose gain needs no R2 has four parts to step; with an op-amp
// too slow for some pairs, those are left out and counted.
TEST(BuildSearchSpace, LockedC2PairsWithoutR2AndUnsolvedPairs) {
  const DesignRequest locked{1e3, 2, 3, 10e3, 24, 12, 22e-9};
  const SearchSpace one_c2 =
      calc::BuildSearchSpace(locked, calc::Design(locked).Snapped, 2, std::nullopt, 1);
  ASSERT_EQ(one_c2.C2.size(), 1U);
  EXPECT_EQ(one_c2.C2[0], 22e-9);
  EXPECT_EQ(one_c2.C1.size(), 5U);
  EXPECT_EQ(one_c2.SetCount(), 5 * 125);

  // H 10 with Q 1 needs C1 below C2 (the design picks 1.5n against 15n, m = 11): pairs
  // with C2/C1 under 9 cannot give the gain with an R2.
  const DesignRequest gain{1e3, 1, 10, 10e3, 24, 6};
  const SearchSpace mixed =
      calc::BuildSearchSpace(gain, calc::Design(gain).Snapped, 1, std::nullopt, 1);
  int without_r2 = 0;
  for (const calc::SearchPair& pair : mixed.pairs) {
    const bool needs_none = 10 >= (pair.continuous.C2 / pair.continuous.C1 + 1);
    EXPECT_EQ(pair.R2.empty(), needs_none);
    EXPECT_EQ(pair.SetCount(), needs_none ? 9 : 27);
    if (needs_none) ++without_r2;
  }
  EXPECT_GT(without_r2, 0);

  const DesignRequest fast{10e3, 8, 4, 10e3, 24, 6};
  const SearchSpace slow =
      calc::BuildSearchSpace(fast, calc::Design(fast).Snapped, 1, calc::OpAmp{1e5, 2e3, 0}, 2);
  EXPECT_TRUE(slow.pairs.empty());
  EXPECT_EQ(slow.unsolved_pairs, 9);
}

}  // namespace

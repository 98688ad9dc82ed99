// Adaptive Gauss-Kronrod against integrals known in closed form.
#include "calc/numeric/integrate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

TEST(IntegrateAdaptive, VectorOfKnownIntegrals) {
  // Over [0, pi]: sin x -> 2, x^2 -> pi^3 / 3, e^x -> e^pi - 1, all on the same nodes.
  const std::vector<double> points = {0.0, std::numbers::pi};
  const auto result = calc::IntegrateAdaptive<3>(
      [](double x) {
        return std::array<double, 3>{std::sin(x), x * x, std::exp(x)};
      },
      points, 1e-12);
  EXPECT_NEAR(result.value[0], 2.0, 1e-14);
  EXPECT_NEAR(result.value[1], std::pow(std::numbers::pi, 3) / 3, 1e-13);
  EXPECT_NEAR(result.value[2], std::exp(std::numbers::pi) - 1, 1e-13);
  EXPECT_LE(result.error, 1e-12 * (2.0 + 10.34 + 22.14));
}

TEST(IntegrateAdaptive, NarrowPeakFoundFromAPointOnIt) {
  // A Lorentzian of half-width 1e-4 on [-1, 1]: 2 atan(1e4) / 1e-4 ... scaled to unit
  // height, its integral is 2e-4 atan(1e4). With a point on the peak the adaptive halving
  // resolves it.
  const double width = 1e-4;
  const auto peak = [width](double x) {
    return std::array<double, 1>{1.0 / (1.0 + (x / width) * (x / width))};
  };
  const std::vector<double> points = {-1.0, 0.0, 1.0};
  const auto result = calc::IntegrateAdaptive<1>(peak, points, 1e-10);
  const double exact = 2 * width * std::atan(1 / width);
  EXPECT_NEAR(result.value[0], exact, exact * 1e-9);
  EXPECT_LE(result.error, 1e-10 * exact);
}

TEST(IntegrateAdaptive, StopsAtThePieceLimitAndOnBadPoints) {
  // 1/sqrt(x) on (0, 1] cannot meet 1e-15 in four pieces: the error says so.
  const std::vector<double> points = {0.0, 1.0};
  const auto capped = calc::IntegrateAdaptive<1>(
      [](double x) { return std::array<double, 1>{1 / std::sqrt(x)}; }, points, 1e-15, 4);
  EXPECT_GT(capped.error, 1e-15 * capped.value[0]);
  EXPECT_NEAR(capped.value[0], 2.0, 0.1);

  const auto one_point = calc::IntegrateAdaptive<1>(
      [](double) { return std::array<double, 1>{1.0}; }, std::vector<double>{0.0}, 1e-9);
  EXPECT_EQ(one_point.value[0], 0.0);
  EXPECT_TRUE(std::isnan(one_point.error));
  const auto infinite = calc::IntegrateAdaptive<1>(
      [](double) { return std::array<double, 1>{1.0}; }, std::vector<double>{0.0, INFINITY}, 1e-9);
  EXPECT_TRUE(std::isnan(infinite.error));
}

}  // namespace

#include "calc/analysis/monte_carlo.h"

#include <gtest/gtest.h>

#include <optional>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "calc/circuit/band_pass.h"
#include "calc/numeric/parallel_for.h"

namespace {

using calc::Circuit;
using calc::Distribution;
using calc::MonteCarloResult;
using calc::ToleranceSettings;

const Circuit kDefaultDesign{11e3, 11e3, 22e3, 15e-9, 15e-9};

MonteCarloResult RunToEnd(const Circuit& nominal, const ToleranceSettings& settings) {
  calc::Outcome<MonteCarloResult> result = calc::RunMonteCarlo(nominal, settings);
  if (!result) throw std::logic_error("a run without a progress callback was cancelled");
  return *std::move(result);
}

void ExpectSameTrials(const std::vector<calc::Trial>& a, const std::vector<calc::Trial>& b,
                      std::size_t count) {
  ASSERT_GE(a.size(), count);
  ASSERT_GE(b.size(), count);
  for (std::size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(a[i].circuit.R1, b[i].circuit.R1);
    ASSERT_EQ(a[i].circuit.R3, b[i].circuit.R3);
    ASSERT_EQ(a[i].circuit.C1, b[i].circuit.C1);
    ASSERT_EQ(a[i].circuit.C2, b[i].circuit.C2);
    ASSERT_EQ(a[i].figures.Fo, b[i].figures.Fo);
    ASSERT_EQ(a[i].figures.Q, b[i].figures.Q);
  }
}

TEST(RunMonteCarlo, ZeroTolerancesGiveTheNominalCircuitInEveryTrial) {
  for (const Distribution distribution : {Distribution::kUniform, Distribution::kNormal}) {
    ToleranceSettings settings;
    settings.tolerances = {0, 0, 0, 0, 0};
    settings.distribution = distribution;
    settings.trials = 1000;
    const MonteCarloResult r = RunToEnd(kDefaultDesign, settings);
    const calc::TransferFunction nominal = calc::Analyze(kDefaultDesign);
    for (const calc::Trial& trial : r.trials) {
      ASSERT_EQ(trial.circuit.R1, kDefaultDesign.R1);
      ASSERT_EQ(trial.circuit.R2, kDefaultDesign.R2);
      ASSERT_EQ(trial.circuit.C2, kDefaultDesign.C2);
      ASSERT_EQ(trial.figures.Fo, nominal.Fo);
      ASSERT_EQ(trial.figures.Q, nominal.Q);
      ASSERT_EQ(trial.figures.H, nominal.H);
    }
    EXPECT_EQ(r.Fo.min, nominal.Fo);
    EXPECT_EQ(r.Fo.max, nominal.Fo);
    EXPECT_EQ(r.yield.count, 1000);
  }
}

TEST(RunMonteCarlo, YieldCountsAboutTheDesignsTargetWhenGiven) {
  // The start-up design snapped: fo = 1 / (2 pi 11k 15n) = 964.575 Hz, Q = 1, H = 1, for a
  // wanted 1 kHz; 3.54 % below it. Zero tolerances: every trial is the nominal circuit, so
  // the yield is all or nothing by where its fo lies against the limits.
  struct Case {
    const char* name;
    std::optional<calc::TransferFunction> centre;
    double fo_limit;
    std::int64_t inside;
  };
  const Case cases[] = {
      {"about the nominal", std::nullopt, 0.001, 100},
      {"about the 1 kHz target, 2 %", calc::TransferFunction{1000.0, 1.0, 1.0}, 0.02, 0},
      {"about the 1 kHz target, 4 %", calc::TransferFunction{1000.0, 1.0, 1.0}, 0.04, 100},
      {"about a target with Q 10 % off", calc::TransferFunction{964.575, 1.1, 1.0}, 0.02, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ToleranceSettings settings;
    settings.tolerances = {0, 0, 0, 0, 0};
    settings.trials = 100;
    settings.limits.Fo = c.fo_limit;
    settings.yield_centre = c.centre;
    const MonteCarloResult r = RunToEnd(kDefaultDesign, settings);
    EXPECT_EQ(r.yield.count, c.inside);
    EXPECT_EQ(r.CentredOnTarget(), c.centre.has_value());
    EXPECT_EQ(r.centre.Fo, c.centre ? c.centre->Fo : r.nominal.Fo);
    EXPECT_NEAR(r.nominal.Fo, 964.575, 1e-3);  // the nominal stays the circuit's
  }
}

// Trial i depends on (seed, i) alone: not on the thread count, nor on how many trials run.
TEST(RunMonteCarlo, SameSeedSameTrialsWithAnyNumberOfThreads) {
  for (const Distribution distribution : {Distribution::kUniform, Distribution::kNormal}) {
    ToleranceSettings settings;
    settings.distribution = distribution;
    settings.trials = 5000;
    settings.seed = 20261210;
    settings.threads = 1;
    const MonteCarloResult one = RunToEnd(kDefaultDesign, settings);
    settings.threads = 2;
    const MonteCarloResult two = RunToEnd(kDefaultDesign, settings);
    settings.threads = 3;
    const MonteCarloResult three = RunToEnd(kDefaultDesign, settings);
    ExpectSameTrials(one.trials, two.trials, 5000);
    ExpectSameTrials(one.trials, three.trials, 5000);
    EXPECT_EQ(one.Fo.p5, two.Fo.p5);
    EXPECT_EQ(one.Q.p99_5, three.Q.p99_5);
    EXPECT_EQ(one.yield.count, two.yield.count);

    settings.trials = 300;
    ExpectSameTrials(one.trials, RunToEnd(kDefaultDesign, settings).trials, 300);
  }
}

// A different seed draws different parts, but the statistics agree within sampling error:
// the medians of two runs of n trials differ by about 1.25 sd / sqrt(n) sqrt(2).
TEST(RunMonteCarlo, DifferentSeedDifferentTrialsSameStatistics) {
  ToleranceSettings settings;
  settings.trials = 20000;
  settings.seed = 1;
  const MonteCarloResult a = RunToEnd(kDefaultDesign, settings);
  settings.seed = 2;
  const MonteCarloResult b = RunToEnd(kDefaultDesign, settings);
  int equal = 0;
  for (std::size_t i = 0; i < a.trials.size(); ++i) {
    equal += a.trials[i].circuit.C1 == b.trials[i].circuit.C1;
  }
  EXPECT_EQ(equal, 0);

  double sum = 0, sum_squares = 0;
  for (const calc::Trial& t : a.trials) {
    sum += t.figures.Fo;
    sum_squares += t.figures.Fo * t.figures.Fo;
  }
  const double n = static_cast<double>(a.trials.size());
  const double sd = std::sqrt(sum_squares / n - (sum / n) * (sum / n));
  const double median_error = 1.2533 * sd / std::sqrt(n) * std::sqrt(2.0);
  EXPECT_NE(a.Fo.p50, b.Fo.p50);
  EXPECT_NEAR(a.Fo.p50, b.Fo.p50, 5 * median_error);
  EXPECT_NEAR(a.yield.fraction, b.yield.fraction,
              5 * std::sqrt(2 * a.yield.fraction * (1 - a.yield.fraction) / n));
}

// With only C1 varying, fo = fo_nominal (C1 / C1_nominal)^(-1/2) falls with C1, so fo's
// p-quantile is fo_nominal (1 + t d)^(-1/2) with d C1's (1 - p)-quantile in units of the
// tolerance: 1 - 2p for the uniform, -z_p / 3 for the normal cut at 3 sigma, z_p the cut
// normal's quantile (computed with mpmath). Each percentile must lie within five standard
// errors of the order statistic, sqrt(p (1 - p) / n) / density.
TEST(RunMonteCarlo, PercentilesOfFoWithOnlyC1Varying) {
  constexpr double t = 0.05;
  constexpr std::int64_t n = 100000;
  struct Quantile {
    double p;
    double calc::Percentiles::*field;
    double z;  // the cut normal's quantile at p
  };
  const Quantile quantiles[] = {
      {0.005, &calc::Percentiles::p0_5, -2.4928342727549788638},
      {0.05, &calc::Percentiles::p5, -1.6331863189144871618},
      {0.5, &calc::Percentiles::p50, 0.0},
      {0.95, &calc::Percentiles::p95, 1.6331863189144867668},
      {0.995, &calc::Percentiles::p99_5, 2.4928342727549786215},
  };
  const double fo = calc::Analyze(kDefaultDesign).Fo;
  for (const Distribution distribution : {Distribution::kUniform, Distribution::kNormal}) {
    SCOPED_TRACE(distribution == Distribution::kUniform ? "uniform" : "normal");
    ToleranceSettings settings;
    settings.tolerances = {0, 0, 0, t, 0};
    settings.distribution = distribution;
    settings.trials = n;
    settings.seed = 42;
    const MonteCarloResult r = RunToEnd(kDefaultDesign, settings);
    for (const Quantile& q : quantiles) {
      SCOPED_TRACE(q.p);
      const bool uniform = distribution == Distribution::kUniform;
      const double d = uniform ? 1 - 2 * q.p : -q.z / 3;
      const double expected = fo / std::sqrt(1 + t * d);
      // Density of d at the quantile: 1/2 for the uniform on [-1, 1]; for the cut normal
      // 3 phi(z) / (1 - 2 Phi(-3)).
      const double density =
          uniform ? 0.5 : 3 * std::exp(-q.z * q.z / 2) / std::sqrt(2 * M_PI) / (1 - 2 * 1.3499e-3);
      const double d_error = std::sqrt(q.p * (1 - q.p) / n) / density;
      // fo moves by about t/2 of its value per unit of d.
      EXPECT_NEAR(r.Fo.*q.field, expected, 5 * fo * t / 2 * d_error);
    }
    // The extremes lie inside the band's images and close to them.
    EXPECT_GE(r.Fo.min, fo / std::sqrt(1 + t));
    EXPECT_LE(r.Fo.max, fo / std::sqrt(1 - t));
    if (distribution == Distribution::kUniform) {
      EXPECT_NEAR(r.Fo.min, fo / std::sqrt(1 + t), fo * 1e-3);
      EXPECT_NEAR(r.Fo.max, fo / std::sqrt(1 - t), fo * 1e-3);
    }
  }
}

// Same set-up: C1 = C2 and only C1 varying by d in [-5 %, 5 %]. fo stays within 2 % for
// (1 + d) in [1/1.02^2, 1/0.98^2]; H = 2 H0 / (2 + d) and Q = 2 Q0 sqrt(1 + d) / (2 + d)
// stay within 5 % throughout, so the yield is that interval's share of the band.
TEST(RunMonteCarlo, YieldAgreesWithItsKnownValueWithinItsInterval) {
  ToleranceSettings settings;
  settings.tolerances = {0, 0, 0, 0.05, 0};
  settings.trials = 10000;
  settings.seed = 3;
  const MonteCarloResult r = RunToEnd(kDefaultDesign, settings);
  const double expected = (1 / (0.98 * 0.98) - 1 / (1.02 * 1.02)) / 0.1;
  EXPECT_NEAR(expected, 0.8006404, 1e-7);
  EXPECT_EQ(r.yield.trials, 10000);
  EXPECT_EQ(r.yield.fraction, static_cast<double>(r.yield.count) / 10000);
  EXPECT_LE(r.yield.low, expected);
  EXPECT_GE(r.yield.high, expected);
  EXPECT_LT(r.yield.high - r.yield.low, 0.02);
}

TEST(RunMonteCarlo, ProgressCountsTrialsAndFalseCancels) {
  ToleranceSettings settings;
  settings.trials = 10000;
  settings.threads = 1;
  std::vector<std::int64_t> reports;
  const auto completed =
      calc::RunMonteCarlo(kDefaultDesign, settings, [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, 10000);
        reports.push_back(done);
        return true;
      });
  EXPECT_TRUE(completed.ok());
  ASSERT_FALSE(reports.empty());
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_EQ(reports.back(), 10000);
  // One report per chunk of 256 trials, and one at the end.
  EXPECT_EQ(reports.size(), 41u);

  settings.threads = 2;
  int calls = 0;
  const auto cancelled =
      calc::RunMonteCarlo(kDefaultDesign, settings, [&](std::int64_t, std::int64_t) {
        ++calls;
        return false;
      });
  ASSERT_FALSE(cancelled.ok());
  EXPECT_EQ(cancelled.diagnostic().problem, calc::Problem::kCancelled);
  EXPECT_EQ(calls, 1);
}

TEST(RunMonteCarlo, RejectedSettingsGiveTheirDiagnosticInsteadOfRunning) {
  ToleranceSettings settings;
  settings.trials = 10000000000;
  const auto too_many = calc::RunMonteCarlo(kDefaultDesign, settings);
  ASSERT_FALSE(too_many.ok());
  EXPECT_EQ(too_many.diagnostic().problem, calc::Problem::kTrialCount);
  settings.trials = 10;
  settings.tolerances[calc::kC1] = 1.0;
  const auto whole_band = calc::RunMonteCarlo(kDefaultDesign, settings);
  ASSERT_FALSE(whole_band.ok());
  EXPECT_EQ(whole_band.diagnostic().problem, calc::Problem::kToleranceRange);
}

TEST(ParallelFor, CoversEveryItemOnceAndRethrowsTheFirstFailure) {
  std::vector<int> hits(1001, 0);
  EXPECT_TRUE(calc::ParallelFor(1001, 10, 2, [&](std::int64_t begin, std::int64_t end) {
    for (std::int64_t i = begin; i < end; ++i) ++hits[static_cast<std::size_t>(i)];
  }));
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), 1001);

  EXPECT_THROW(calc::ParallelFor(1000, 10, 2,
                                 [&](std::int64_t begin, std::int64_t) {
                                   if (begin == 500) throw std::runtime_error("fault");
                                 }),
               std::runtime_error);
  EXPECT_TRUE(calc::ParallelFor(0, 10, 2, [](std::int64_t, std::int64_t) { FAIL(); }));
}

}  // namespace

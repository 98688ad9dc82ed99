// The yield against the target: the tolerance study's own trials, judged against the
// target and the allowances, the same random numbers for every set.
#include "calc/analysis/target_yield.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "calc/analysis/monte_carlo.h"
#include "calc/circuit/band_pass.h"
#include "calc/numeric/counter_random.h"

namespace {

using calc::Circuit;
using calc::OpAmp;
using calc::ToleranceSettings;

const calc::TransferFunction kTarget{10e3, 8, 4};
const calc::Allowances kAllowances{0.02, 0.05, 0.05};
// The design command's set for the target (E24 / E6) and two others near it.
const std::vector<Circuit> kSets = {
    {22e3, 680, 180e3, 1.5e-9, 1.5e-9},
    {47e3, 510, 220e3, 680e-12, 3.3e-9},
    {15e3, 360, 100e3, 2.2e-9, 3.3e-9},
};

ToleranceSettings Settings(calc::Distribution distribution) {
  ToleranceSettings settings;
  settings.distribution = distribution;
  settings.trials = 2000;
  settings.seed = 61;
  return settings;
}

// The count a tolerance run of the set alone gives: its trials' circuits judged by the
// same figures and the same allowances.
std::int64_t CountFromToleranceRun(const Circuit& set, const ToleranceSettings& settings,
                                   const std::optional<OpAmp>& op_amp) {
  const calc::Outcome<calc::MonteCarloResult> run = calc::RunMonteCarlo(set, settings);
  if (!run) throw std::logic_error("a run without progress was cancelled");
  std::int64_t inside = 0;
  for (const calc::Trial& trial : run->trials) {
    const calc::TargetErrors errors =
        calc::ErrorsFrom(calc::CircuitFigures(trial.circuit, op_amp), kTarget);
    if (calc::WithinAllowances(errors, kAllowances)) ++inside;
  }
  return inside;
}

TEST(TargetYields, AgreeWithTheToleranceRunOfEachSetAlone) {
  struct Case {
    const char* name;
    calc::Distribution distribution;
    std::optional<OpAmp> op_amp;
  };
  const Case cases[] = {
      {"ideal, uniform", calc::Distribution::kUniform, std::nullopt},
      {"ideal, normal", calc::Distribution::kNormal, std::nullopt},
      {"20 MHz op-amp, uniform", calc::Distribution::kUniform, OpAmp{1e5, 20e6, 0}},
      {"10 MHz op-amp with 5 pF, normal", calc::Distribution::kNormal, OpAmp{1e5, 10e6, 5e-12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToleranceSettings settings = Settings(c.distribution);
    const calc::Outcome<std::vector<calc::Proportion>> yields =
        calc::TargetYields(kSets, kTarget, kAllowances, c.op_amp, settings);
    ASSERT_TRUE(yields);
    ASSERT_EQ(yields->size(), kSets.size());
    for (std::size_t i = 0; i < kSets.size(); ++i) {
      SCOPED_TRACE(i);
      const calc::Proportion& yield = (*yields)[i];
      EXPECT_EQ(yield.count, CountFromToleranceRun(kSets[i], settings, c.op_amp));
      EXPECT_EQ(yield.trials, 2000);
      // Yields of 11 % to 89 %: many trials lie near the allowances' edges.
      EXPECT_GT(yield.fraction, 0.1);
      EXPECT_LT(yield.fraction, 0.9);
      const calc::Proportion wilson = calc::WilsonInterval(yield.count, 2000);
      EXPECT_EQ(yield.low, wilson.low);
      EXPECT_EQ(yield.high, wilson.high);
    }
  }
}

// Common random numbers: a set's yield does not depend on which other sets are run with
// it, nor on the number of threads; and every part of a set is off by the same share in a
// trial as the same part of another set.
TEST(TargetYields, UseTheSameTrialsForEverySet) {
  ToleranceSettings settings = Settings(calc::Distribution::kUniform);
  settings.threads = 1;
  const auto all = calc::TargetYields(kSets, kTarget, kAllowances, std::nullopt, settings);
  settings.threads = 3;
  const auto last_alone = calc::TargetYields(std::vector<Circuit>{kSets[2]}, kTarget, kAllowances,
                                             std::nullopt, settings);
  ASSERT_TRUE(all && last_alone);
  EXPECT_EQ((*all)[2].count, (*last_alone)[0].count);

  const std::uint64_t key = calc::RandomKey(settings.seed);
  for (const std::int64_t trial : {0, 1, 1999}) {
    const Circuit a = calc::TrialCircuit(kSets[0], settings, key, trial);
    const Circuit b = calc::TrialCircuit(kSets[1], settings, key, trial);
    EXPECT_DOUBLE_EQ(a.R1 / kSets[0].R1, b.R1 / kSets[1].R1);
    EXPECT_DOUBLE_EQ(a.C2 / kSets[0].C2, b.C2 / kSets[1].C2);
  }
}

// Exact parts always give the same figures: every trial is in, or every one is out.
TEST(TargetYields, ZeroTolerancesGiveAllOrNothing) {
  ToleranceSettings settings = Settings(calc::Distribution::kUniform);
  settings.tolerances = {0, 0, 0, 0, 0};
  const Circuit exact = calc::ExactResistors(kTarget, 1.5e-9, 1.5e-9);
  const std::vector<Circuit> sets = {exact, {22e3, 680, 180e3, 1.5e-9, 1.5e-9}};
  const auto yields = calc::TargetYields(sets, kTarget, {0.01, 0.03, 0.03}, std::nullopt, settings);
  ASSERT_TRUE(yields);
  EXPECT_EQ((*yields)[0].count, 2000);
  EXPECT_EQ((*yields)[0].low, calc::WilsonInterval(2000, 2000).low);
  EXPECT_EQ((*yields)[1].count, 0);  // it peaks 2.6 % low
}

TEST(TargetYields, CancelAndRefuseUnusableSettings) {
  const ToleranceSettings settings = Settings(calc::Distribution::kUniform);
  const auto stop = [](std::int64_t, std::int64_t) { return false; };
  EXPECT_FALSE(calc::TargetYields(kSets, kTarget, kAllowances, std::nullopt, settings, stop));
  ToleranceSettings no_trials = settings;
  no_trials.trials = 0;
  EXPECT_EQ(
      calc::TargetYields(kSets, kTarget, kAllowances, std::nullopt, no_trials).diagnostic().problem,
      calc::Problem::kTrialCount);
  ToleranceSettings whole = settings;
  whole.tolerances[calc::kC1] = 1.0;
  EXPECT_EQ(
      calc::TargetYields(kSets, kTarget, kAllowances, std::nullopt, whole).diagnostic().problem,
      calc::Problem::kToleranceRange);
}

}  // namespace

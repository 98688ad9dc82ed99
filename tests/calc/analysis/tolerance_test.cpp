#include "calc/analysis/tolerance.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>

#include "calc/commands/command_messages.h"
#include "calc/numeric/counter_random.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/text/diagnostic.h"

namespace {

using calc::Circuit;
using calc::Distribution;
using calc::kNoValue;

const Circuit kDefaultDesign{11e3, 11e3, 22e3, 15e-9, 15e-9};

// Reference quantiles of the standard normal distribution, computed to 40 digits with
// mpmath (sqrt(2) erfinv(2p - 1)).
TEST(NormalQuantile, MatchesTheDistributionsQuantiles) {
  struct Case {
    double p, z;
  } const cases[] = {
      {0.5, 0.0},
      {0.975, 1.9599639845400542355},
      {0.8413447460685429, 0.99999999999999979921},
      {0.001, -3.0902323061678135415},
      {0.999, 3.0902323061678135415},
      {calc::kNormalTailBeyond3Sigma, -3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p);
    EXPECT_NEAR(calc::NormalQuantile(c.p), c.z, 4e-15 * std::max(1.0, std::fabs(c.z)));
  }
  EXPECT_TRUE(std::isnan(calc::NormalQuantile(0.0)));
  EXPECT_TRUE(std::isnan(calc::NormalQuantile(1.0)));
  EXPECT_TRUE(std::isnan(calc::NormalQuantile(kNoValue)));
}

TEST(CounterRandom, UnitIntervalStaysStrictlyInside) {
  EXPECT_EQ(calc::UnitInterval(0), 0x1.0p-54);
  EXPECT_EQ(calc::UnitInterval(~std::uint64_t{0}), 1.0 - 0x1.0p-54);
}

// The draws are a fixed function of (seed, counter): these words, from a separate
// implementation of SplitMix64, pin the generator, so a change to it (which would change
// every saved seed's trials) fails here.
TEST(CounterRandom, DrawsAreFixedBySeedAndCounter) {
  const std::uint64_t key = calc::RandomKey(12345);
  EXPECT_EQ(key, 0x22118258a9d111a0u);
  EXPECT_EQ(calc::RandomBits(key, 0), 0x467fced1350ac6cbu);
  EXPECT_EQ(calc::RandomBits(key, 7), 0x64a864da145efe07u);
  EXPECT_EQ(calc::RandomBits(calc::RandomKey(0), 0), 0x31042cc5515af7eeu);
  EXPECT_EQ(calc::RandomBits(calc::RandomKey(~std::uint64_t{0}), 4999999), 0x58f5ff35d72514b6u);
  EXPECT_EQ(calc::RandomBits(key, 0), calc::RandomBits(calc::RandomKey(12345), 0));
  EXPECT_NE(calc::RandomBits(key, 0), calc::RandomBits(key, 1));
  EXPECT_NE(calc::RandomBits(key, 0), calc::RandomBits(calc::RandomKey(12346), 0));
  std::set<std::uint64_t> seen;
  for (std::uint64_t seed = 0; seed < 64; ++seed) {
    for (std::uint64_t counter = 0; counter < 64; ++counter) {
      seen.insert(calc::RandomBits(calc::RandomKey(seed), counter));
    }
  }
  EXPECT_EQ(seen.size(), 64u * 64u);
}

TEST(DrawPart, StaysInsideTheBandAndZeroToleranceIsExact) {
  const std::uint64_t key = calc::RandomKey(7);
  for (const Distribution distribution : {Distribution::kUniform, Distribution::kNormal}) {
    double low = 2.0, high = 0.0;
    for (std::int64_t trial = 0; trial < 20000; ++trial) {
      const double x = calc::DrawPart(1.0, 0.99, distribution, key, trial, calc::kC1);
      low = std::min(low, x);
      high = std::max(high, x);
      EXPECT_EQ(calc::DrawPart(15e-9, 0.0, distribution, key, trial, calc::kC1), 15e-9);
    }
    // A 99 % part never turns negative and fills most of its band.
    EXPECT_GE(low, 0.01);
    EXPECT_LE(high, 1.99);
    EXPECT_LT(low, distribution == Distribution::kUniform ? 0.02 : 0.3);
  }
}

TEST(TrialCircuit, AbsentR2StaysAbsentAndOtherPartsDrawAsWithR2) {
  calc::ToleranceSettings settings;
  const std::uint64_t key = calc::RandomKey(99);
  const Circuit with_r2 = calc::TrialCircuit(kDefaultDesign, settings, key, 3);
  Circuit no_r2_nominal = kDefaultDesign;
  no_r2_nominal.R2 = kNoValue;
  const Circuit without_r2 = calc::TrialCircuit(no_r2_nominal, settings, key, 3);
  EXPECT_FALSE(without_r2.HasR2());
  EXPECT_EQ(without_r2.C1, with_r2.C1);
  EXPECT_EQ(without_r2.R3, with_r2.R3);
  EXPECT_NE(with_r2.R1, kDefaultDesign.R1);
}

// Part p of trial t takes draw 5 t + p of the run, so no two parts share a draw, within a
// trial or across trials. The expected parts come from the definition written out here:
// SplitMix64's finaliser, draw = Mix(Mix(key + counter golden) + key) with key =
// Mix(seed + golden), u = (top 53 bits + 1/2) / 2^53, a uniform part nominal (1 + t (2u - 1)).
TEST(TrialCircuit, EachPartOfEachTrialHasADrawOfItsOwn) {
  constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15u;
  const auto mix = [](std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  };
  constexpr std::uint64_t kSeed = 20261210;
  const std::uint64_t key = mix(kSeed + kGolden);
  ASSERT_EQ(key, calc::RandomKey(kSeed));
  const auto unit = [&](std::uint64_t counter) {
    const std::uint64_t bits = mix(mix(key + counter * kGolden) + key);
    return (static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53;
  };

  calc::ToleranceSettings settings;
  settings.tolerances = {0.01, 0.02, 0.03, 0.05, 0.10};
  const calc::PartValues nominal = calc::PartsOf(kDefaultDesign);
  for (const std::int64_t trial : {0, 1, 2, 4999, 999999}) {
    SCOPED_TRACE(trial);
    const calc::PartValues parts =
        calc::PartsOf(calc::TrialCircuit(kDefaultDesign, settings, key, trial));
    for (int part = 0; part < calc::kPartCount; ++part) {
      const double u =
          unit(static_cast<std::uint64_t>(trial) * 5 + static_cast<std::uint64_t>(part));
      EXPECT_EQ(parts[part], nominal[part] * (1.0 + settings.tolerances[part] * (2.0 * u - 1.0)))
          << calc::kPartNames[part];
    }
  }

  // Every part of 2000 neighbouring trials, each as a share of its band: 10000 different
  // draws, none repeated.
  settings.tolerances = {0.5, 0.5, 0.5, 0.5, 0.5};
  std::set<double> shares;
  for (std::int64_t trial = 0; trial < 2000; ++trial) {
    const calc::PartValues parts =
        calc::PartsOf(calc::TrialCircuit(kDefaultDesign, settings, key, trial));
    for (int part = 0; part < calc::kPartCount; ++part) shares.insert(parts[part] / nominal[part]);
  }
  EXPECT_EQ(shares.size(), 2000u * calc::kPartCount);
}

// Hostile and unusable inputs: each gets its warning, in the order the checks run.
TEST(ReadToleranceTexts, WarnsAboutTheFirstUnusableInput) {
  using calc::Problem;
  struct Case {
    const char* name;
    Circuit circuit;
    calc::ToleranceTexts texts;
    std::optional<Problem> problem;
  };
  auto texts = [](auto change) {
    calc::ToleranceTexts t;
    change(t);
    return t;
  };
  using T = calc::ToleranceTexts;
  const Case cases[] = {
      {"defaults", kDefaultDesign, {}, {}},
      {"zero tolerance", kDefaultDesign, texts([](T& t) { t.resistor = u"0%"; }), {}},
      {"just under 100 %", kDefaultDesign, texts([](T& t) { t.capacitor = u"99.9%"; }), {}},
      {"missing C1", {11e3, 11e3, 22e3, kNoValue, 15e-9}, {}, Problem::kTolerancePartsMissing},
      {"negative R1", {-11e3, 11e3, 22e3, 15e-9, 15e-9}, {}, Problem::kToleranceCircuit},
      {"zero R2", {11e3, 0.0, 22e3, 15e-9, 15e-9}, {}, Problem::kToleranceCircuit},
      {"infinite C2",
       {11e3, 11e3, 22e3, 15e-9, std::numeric_limits<double>::infinity()},
       {},
       Problem::kToleranceCircuit},
      {"negative tolerance", kDefaultDesign, texts([](T& t) { t.resistor = u"-1%"; }),
       Problem::kToleranceRange},
      {"100 %", kDefaultDesign, texts([](T& t) { t.capacitor = u"100%"; }),
       Problem::kToleranceRange},
      {"250 % on one part", kDefaultDesign, texts([](T& t) { t.part[calc::kR3] = u"250"; }),
       Problem::kToleranceRange},
      {"unreadable tolerance", kDefaultDesign, texts([](T& t) { t.part[calc::kC2] = u"abc"; }),
       Problem::kToleranceMissing},
      {"empty kind tolerance", kDefaultDesign, texts([](T& t) { t.resistor = u""; }),
       Problem::kToleranceMissing},
      {"out of range before unreadable", kDefaultDesign, texts([](T& t) {
         t.part[calc::kR1] = u"100%";
         t.part[calc::kC2] = u"abc";
       }),
       Problem::kToleranceRange},
      {"zero trials", kDefaultDesign, texts([](T& t) { t.trials = u"0"; }), Problem::kTrialCount},
      {"ten billion trials", kDefaultDesign, texts([](T& t) { t.trials = u"10000000000"; }),
       Problem::kTrialCount},
      {"1e300 trials", kDefaultDesign, texts([](T& t) { t.trials = u"1e300"; }),
       Problem::kTrialCount},
      {"fractional trials", kDefaultDesign, texts([](T& t) { t.trials = u"2.5"; }),
       Problem::kTrialCount},
      {"negative trials", kDefaultDesign, texts([](T& t) { t.trials = u"-5"; }),
       Problem::kTrialCount},
      {"seed beyond 64 bits", kDefaultDesign, texts([](T& t) { t.seed = u"18446744073709551616"; }),
       Problem::kSeed},
      {"very long seed", kDefaultDesign, texts([](T& t) { t.seed = std::u16string(5000, u'9'); }),
       Problem::kSeed},
      {"negative seed", kDefaultDesign, texts([](T& t) { t.seed = u"-1"; }), Problem::kSeed},
      {"seed before limits", kDefaultDesign, texts([](T& t) {
         t.seed = u"x";
         t.limit_fo = u"0";
       }),
       Problem::kSeed},
      {"zero limit", kDefaultDesign, texts([](T& t) { t.limit_q = u"0%"; }), Problem::kYieldLimit},
      {"negative limit", kDefaultDesign, texts([](T& t) { t.limit_fo = u"-2%"; }),
       Problem::kYieldLimit},
      {"unreadable limit", kDefaultDesign, texts([](T& t) { t.limit_h = u"x"; }),
       Problem::kYieldLimit},
      {"tolerance before trials", kDefaultDesign, texts([](T& t) {
         t.resistor = u"100%";
         t.trials = u"0";
       }),
       Problem::kToleranceRange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const calc::Outcome<calc::ToleranceSettings> read =
        calc::ReadToleranceTexts(c.circuit, c.texts, 1);
    if (c.problem) {
      ASSERT_FALSE(read.ok());
      EXPECT_EQ(read.diagnostic().problem, *c.problem);
    } else {
      EXPECT_TRUE(read.ok()) << calc::CliText(read.diagnostic());
    }
  }
}

TEST(ReadToleranceTexts, ReadsPerPartOverridesTheSeedAndTheLimits) {
  calc::ToleranceTexts texts;
  texts.part[calc::kC2] = u"2%";
  texts.trials = u"10k";
  texts.seed = u" １２３ ";
  texts.limit_fo = u"1";
  texts.distribution = Distribution::kNormal;
  const calc::Outcome<calc::ToleranceSettings> read =
      calc::ReadToleranceTexts(kDefaultDesign, texts, 77);
  ASSERT_TRUE(read.ok());
  const calc::ToleranceSettings& s = *read;
  EXPECT_EQ(s.tolerances, (calc::PartValues{0.01, 0.01, 0.01, 0.05, 0.02}));
  EXPECT_EQ(s.trials, 10000);
  EXPECT_EQ(s.seed, 123u);
  EXPECT_EQ(s.limits.Fo, 0.01);
  EXPECT_EQ(s.limits.Q, 0.05);
  EXPECT_EQ(s.distribution, Distribution::kNormal);

  texts.seed = u"";
  EXPECT_EQ(calc::ReadToleranceTexts(kDefaultDesign, texts, 77)->seed, 77u);
}

TEST(ToleranceTextParsers, HeaderExamples) {
  // A bare number is per cent, as "1" = "1%" in every tolerance field.
  EXPECT_EQ(*calc::ParsePercent(u"1%"), 0.01);
  EXPECT_EQ(*calc::ParsePercent(u"1"), 0.01);
  EXPECT_EQ(*calc::ParsePercent(u" 0.5 ％"), 0.005);
  EXPECT_EQ(*calc::ParsePercent(u"5"), 0.05);
  EXPECT_EQ(*calc::ParsePercent(u"0.01%"), 0.0001);
  EXPECT_EQ(*calc::ParsePercent(u"0.01"), 0.0001);
  EXPECT_EQ(calc::ParsePercent(u"%").diagnostic(),
            (calc::Diagnostic{calc::Problem::kNotANumber, {"%"}}));
  EXPECT_EQ(*calc::ParseTrialCount(u"10k"), 10000);
  EXPECT_EQ(*calc::ParseTrialCount(u"1e10"), 10000000000);
  EXPECT_EQ(calc::ParseTrialCount(u"2.5").diagnostic().problem, calc::Problem::kTrialCount);
  EXPECT_EQ(*calc::ParseSeed(u"18446744073709551615"), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(*calc::ParseSeed(u"0"), 0u);
  for (const std::u16string_view refused : {u"18446744073709551616", u"-1", u""}) {
    EXPECT_EQ(calc::ParseSeed(refused).diagnostic().problem, calc::Problem::kSeed);
  }
  EXPECT_EQ(*calc::ParsePositiveQuantity(u"10M"), 10e6);
  for (const std::u16string_view refused : {u"0", u"-5", u"", u"1e400", u"fast"}) {
    EXPECT_EQ(calc::ParsePositiveQuantity(refused).diagnostic().problem,
              calc::Problem::kNotPositive);
  }
}

}  // namespace

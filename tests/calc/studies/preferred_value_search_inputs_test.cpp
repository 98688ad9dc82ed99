// Reading the joint search's settings from typed texts: the values a designer means, and
// the first unusable text named, with the tolerance study's own rules for the yield run.
#include "calc/studies/preferred_value_search_inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calc/commands/analysis_command.h"
#include "calc/commands/calc_state.h"
#include "calc/text/quantity_parse.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Problem;
using calc::SearchTexts;

TEST(ReadSearchTexts, ReadsTheDefaultsAndTypedValues) {
  const calc::Outcome<calc::SearchInputs> defaults = calc::ReadSearchTexts({}, std::nullopt, 5);
  ASSERT_TRUE(defaults.ok()) << calc::CliText(defaults.diagnostic());
  const calc::PreferredValueSearchSettings& d = defaults->settings;
  EXPECT_EQ(d.design.Fo, 1000.0);
  EXPECT_EQ(d.design.Q, 1.0);
  EXPECT_EQ(d.design.H, 1.0);
  EXPECT_EQ(d.design.Zref, 10000.0);
  EXPECT_EQ(d.design.SeriesR, 24);
  EXPECT_EQ(d.design.SeriesC, 6);
  EXPECT_TRUE(std::isnan(d.design.LockedC2));
  EXPECT_EQ(d.allowances.Fo, 0.01);
  EXPECT_EQ(d.allowances.Q, 0.03);
  EXPECT_EQ(d.allowances.H, 0.03);
  EXPECT_EQ(d.steps, 2);
  EXPECT_EQ(d.top, 10);
  EXPECT_FALSE(d.op_amp.has_value());
  EXPECT_FALSE(d.yield.has_value());
  EXPECT_EQ(defaults->tolerances, (calc::PartValues{0.01, 0.01, 0.01, 0.05, 0.05}));

  SearchTexts texts;
  texts.design = {u"10k", u"8", u"", u"", u"96", u"∞", true, u"3.3n"};
  texts.allow_fo = u"0.5";  // a bare number is per cent
  texts.allow_q = u"2％";
  texts.steps = u"3";
  texts.top = u"1k";
  texts.ranking = calc::Ranking::kYield;  // asks for a yield run by itself
  texts.tolerance.part[calc::kC2] = u"2%";
  texts.tolerance.trials = u"500";
  const calc::OpAmp op_amp = calc::ReadOpAmpTexts(u"1M", u"200k", u"5p");
  const calc::Outcome<calc::SearchInputs> read = calc::ReadSearchTexts(texts, op_amp, 77);
  ASSERT_TRUE(read.ok()) << calc::CliText(read.diagnostic());
  const calc::PreferredValueSearchSettings& s = read->settings;
  EXPECT_EQ(s.design.H, 1.0);  // an empty H is unity gain, as in the design command
  EXPECT_EQ(s.design.SeriesR, 96);
  EXPECT_EQ(s.design.SeriesC, 0);
  EXPECT_EQ(s.design.LockedC2, calc::ParseQuantity(u"3.3n"));
  EXPECT_EQ(s.allowances.Fo, 0.005);
  EXPECT_EQ(s.allowances.Q, 0.02);
  EXPECT_EQ(s.steps, 3);
  EXPECT_EQ(s.top, 1000);
  ASSERT_TRUE(s.op_amp.has_value());
  EXPECT_EQ(s.op_amp->Gbw, 1e6);
  EXPECT_EQ(s.op_amp->A0, 200e3);
  EXPECT_EQ(s.op_amp->Cin, 5e-12);
  ASSERT_TRUE(s.yield.has_value());
  EXPECT_EQ(s.yield->trials, 500);
  EXPECT_EQ(s.yield->seed, 77u);  // an empty seed takes the fresh one
  EXPECT_EQ(s.yield->tolerances[calc::kC2], 0.02);
  EXPECT_EQ(s.ranking, calc::Ranking::kYield);
}

// Each unusable text is named, the first in the order the settings are read; the yield
// run's texts follow the tolerance study's own rules, and only where a yield run is asked.
TEST(ReadSearchTexts, RefusesTheFirstUnusableText) {
  const auto with = [](auto change) {
    SearchTexts t;
    change(t);
    return t;
  };
  using T = SearchTexts;
  struct Case {
    const char* name;
    SearchTexts texts;
    std::optional<calc::OpAmp> op_amp;
    std::optional<Problem> problem;
  };
  const calc::OpAmp no_gbw{100e3, 0.0, 0.0};
  const calc::OpAmp negative_cin{100e3, 10e6, -1e-12};
  const Case cases[] = {
      {"empty fo", with([](T& t) { t.design.fo = u""; }), {}, Problem::kSearchValueNotPositive},
      {"negative Q", with([](T& t) { t.design.q = u"-8"; }), {}, Problem::kSearchValueNotPositive},
      {"negative H", with([](T& t) { t.design.h = u"-4"; }), {}, Problem::kSearchValueNotPositive},
      {"zero Zref", with([](T& t) { t.design.zref = u"0"; }), {}, Problem::kSearchValueNotPositive},
      {"locked C2 of zero",
       with([](T& t) {
         t.design.lock = true;
         t.design.c2 = u"0";
       }),
       {},
       Problem::kSearchValueNotPositive},
      {"series E13",
       with([](T& t) { t.design.series_r = u"13"; }),
       {},
       Problem::kSearchSeriesNotStandard},
      {"zero allowance",
       with([](T& t) { t.allow_q = u"0%"; }),
       {},
       Problem::kSearchAllowanceNotPositive},
      {"negative allowance",
       with([](T& t) { t.allow_fo = u"-1"; }),
       {},
       Problem::kSearchAllowanceNotPositive},
      {"unreadable allowance",
       with([](T& t) { t.allow_h = u"abc"; }),
       {},
       Problem::kSearchAllowanceNotPositive},
      {"k above 6", with([](T& t) { t.steps = u"7"; }), {}, Problem::kSearchStepsOutOfRange},
      {"fractional k", with([](T& t) { t.steps = u"2.5"; }), {}, Problem::kSearchStepsOutOfRange},
      {"k 1e300", with([](T& t) { t.steps = u"1e300"; }), {}, Problem::kSearchStepsOutOfRange},
      {"k of 5000 digits",
       with([](T& t) { t.steps = std::u16string(5000, u'9'); }),
       {},
       Problem::kSearchStepsOutOfRange},
      {"negative k", with([](T& t) { t.steps = u"-1"; }), {}, Problem::kSearchStepsOutOfRange},
      {"N above 1000", with([](T& t) { t.top = u"1.001k"; }), {}, Problem::kSearchTopOutOfRange},
      {"N zero", with([](T& t) { t.top = u"0"; }), {}, Problem::kSearchTopOutOfRange},
      {"empty N", with([](T& t) { t.top = u""; }), {}, Problem::kSearchTopOutOfRange},
      {"allowance before k",
       with([](T& t) {
         t.allow_fo = u"0";
         t.steps = u"9";
       }),
       {},
       Problem::kSearchAllowanceNotPositive},
      {"GBW zero", {}, no_gbw, Problem::kSearchValueNotPositive},
      {"negative Cin", {}, negative_cin, Problem::kSearchCinNegative},
      {"tolerance of 100 %",
       with([](T& t) { t.tolerance.capacitor = u"100%"; }),
       {},
       Problem::kToleranceRange},
      {"unreadable tolerance",
       with([](T& t) { t.tolerance.part[calc::kR2] = u"x"; }),
       {},
       Problem::kToleranceMissing},
      {"no trials without a yield run", with([](T& t) { t.tolerance.trials = u"0"; }), {}, {}},
      {"bad seed without a yield run", with([](T& t) { t.tolerance.seed = u"x"; }), {}, {}},
      {"yield limits play no part",
       with([](T& t) {
         t.yield = true;
         t.tolerance.limit_fo = u"0";
       }),
       {},
       {}},
      {"zero trials",
       with([](T& t) {
         t.yield = true;
         t.tolerance.trials = u"0";
       }),
       {},
       Problem::kTrialCount},
      {"trials beyond the study's",
       with([](T& t) {
         t.ranking = calc::Ranking::kYield;
         t.tolerance.trials = u"1e300";
       }),
       {},
       Problem::kTrialCount},
      {"bad seed",
       with([](T& t) {
         t.yield = true;
         t.tolerance.seed = u"-1";
       }),
       {},
       Problem::kSeed},
      {"a thousand sets of a million trials",
       with([](T& t) {
         t.yield = true;
         t.top = u"1000";
         t.tolerance.trials = u"1000000";
       }),
       {},
       Problem::kSearchYieldTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const calc::Outcome<calc::SearchInputs> read = calc::ReadSearchTexts(c.texts, c.op_amp, 1);
    if (c.problem) {
      ASSERT_FALSE(read.ok());
      EXPECT_EQ(read.diagnostic().problem, *c.problem) << calc::CliText(read.diagnostic());
    } else {
      EXPECT_TRUE(read.ok()) << calc::CliText(read.diagnostic());
    }
  }
}

// The figures the search shows for a set are those the analysis command gives once the
// set's texts are typed into the main window: what 適用 will show. The series' own 1.5 nF
// (1.4999999999999492e-09) would differ from them in the last digits.
TEST(SearchPreferredValues, ShowsTheFiguresTheAnalysisCommandGivesForTheTexts) {
  SearchTexts texts;
  texts.design = {u"10k", u"8", u"4", u"10k", u"24", u"6", false, u""};
  const calc::Outcome<calc::SearchInputs> read = calc::ReadSearchTexts(texts, std::nullopt, 1);
  ASSERT_TRUE(read.ok());
  const calc::Outcome<calc::PreferredValueSearch> search =
      calc::SearchPreferredValues(read->settings);
  ASSERT_TRUE(search.ok());
  std::vector<calc::ScoredSet> sets{search->reference};
  sets.insert(sets.end(), search->sets.begin(), search->sets.end());
  ASSERT_GT(sets.size(), 2u);
  const calc::Field fields[] = {calc::Field::EditR1, calc::Field::EditR2, calc::Field::EditR3,
                                calc::Field::EditC1, calc::Field::EditC2};
  for (const calc::ScoredSet& set : sets) {
    testing_support::MemoryForm form;
    for (int part = 0; part < calc::kPartCount; ++part) form.Set(fields[part], set.texts[part]);
    calc::CalcState state;
    calc::ButtonTFClick(form, state);
    ASSERT_TRUE(form.warnings().empty());
    EXPECT_EQ(set.figures.Fo, state.FoResult) << calc::Utf16ToUtf8(set.texts[calc::kC1]);
    EXPECT_EQ(set.figures.Q, state.QResult);
    EXPECT_EQ(set.figures.H, state.HResult);
  }
  // The reference row is the design command's set as its fields show it.
  EXPECT_EQ(search->reference.parts.C1, 1.5e-9);
  EXPECT_NE(calc::Design(read->settings.design).Snapped.C1, 1.5e-9);
}

}  // namespace

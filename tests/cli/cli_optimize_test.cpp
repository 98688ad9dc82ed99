// korvane-cli optimize against the core's search on the same settings: every figure the
// tool prints is the study's, whatever the format.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>

#include "calc/circuit/circuit_parts.h"
#include "calc/export/search_csv.h"
#include "calc/export/search_report.h"
#include "calc/studies/preferred_value_search.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/quantity_parse.h"
#include "cli/optimize_run.h"

namespace {

struct Output {
  int exit_code;
  std::string out, errors;
};

Output Optimize(const cli::OptimizeInput& input, cli::Format format) {
  std::ostringstream out, errors;
  const int exit_code = cli::RunOptimize(input, format, 1, out, errors);
  return {exit_code, out.str(), errors.str()};
}

// Compares a set of the JSON with the study's, number by number.
void ExpectSameSet(const nlohmann::json& json, const calc::ScoredSet& set) {
  const calc::PartValues parts = calc::PartsOf(set.parts);
  const char* const keys[] = {"r1", "r2", "r3", "c1", "c2"};
  for (int part = 0; part < calc::kPartCount; ++part) {
    if (calc::HasPart(set.parts, part)) {
      EXPECT_EQ(json.at(keys[part]).get<double>(), parts[part]) << keys[part];
    } else {
      EXPECT_TRUE(json.at(keys[part]).is_null()) << keys[part];
    }
  }
  EXPECT_EQ(json.at("fo").get<double>(), set.figures.Fo);
  EXPECT_EQ(json.at("q").get<double>(), set.figures.Q);
  EXPECT_EQ(json.at("h").get<double>(), set.figures.H);
  EXPECT_EQ(json.at("fo_error").get<double>(), set.errors.Fo);
  EXPECT_EQ(json.at("q_error").get<double>(), set.errors.Q);
  EXPECT_EQ(json.at("h_error").get<double>(), set.errors.H);
  EXPECT_EQ(json.at("score").get<double>(), set.score);
  if (set.yield) {
    EXPECT_EQ(json.at("yield").get<double>(), set.yield->fraction);
    EXPECT_EQ(json.at("yield_interval").at(0).get<double>(), set.yield->low);
    EXPECT_EQ(json.at("yield_interval").at(1).get<double>(), set.yield->high);
  } else {
    EXPECT_FALSE(json.contains("yield"));
  }
}

TEST(Optimize, PrintsTheCoreSearchsFigures) {
  struct Case {
    const char* name;
    cli::OptimizeInput input;
    calc::PreferredValueSearchSettings settings;
  };
  cli::OptimizeInput ideal;
  ideal.design = {"10k", "8", "4", "10k", "24", "6", false, ""};
  calc::PreferredValueSearchSettings ideal_settings;
  ideal_settings.design = {10e3, 8.0, 4.0, 10e3, 24, 6};

  // A 10 MHz op-amp with 5 pF at its inputs, a locked C2, E96 / E12, tighter allowances,
  // and a yield run ranked by yield.
  cli::OptimizeInput model;
  model.design = {"2.2k", "5", "2", "10k", "96", "12", true, "4.7n"};
  model.steps = "1";
  model.top = "4";
  model.allow_fo = "0.5";
  model.gbw = "10M";
  model.cin = "5p";
  model.tol_c = "2%";
  model.yield = true;
  model.trials = "300";
  model.seed = "42";
  model.ranking = calc::Ranking::kYield;
  calc::PreferredValueSearchSettings model_settings;
  // The values as the design command reads their texts.
  model_settings.design = {calc::ParseQuantity(u"2.2k"), 5.0, 2.0, 10e3, 96, 12,
                           calc::ParseQuantity(u"4.7n")};
  model_settings.allowances = {calc::ParsePercent(u"0.5").value(), 0.03, 0.03};
  model_settings.steps = 1;
  model_settings.top = 4;
  model_settings.op_amp =
      calc::OpAmp{100e3, calc::ParseQuantity(u"10M"), calc::ParseQuantity(u"5p")};
  calc::ToleranceSettings yield;
  const double two_per_cent = calc::ParsePercent(u"2%").value();
  yield.tolerances = {0.01, 0.01, 0.01, two_per_cent, two_per_cent};
  yield.trials = 300;
  yield.seed = 42;
  model_settings.yield = yield;
  model_settings.ranking = calc::Ranking::kYield;

  const Case cases[] = {{"ideal", ideal, ideal_settings}, {"op-amp model", model, model_settings}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const calc::Outcome<calc::PreferredValueSearch> search =
        calc::SearchPreferredValues(c.settings);
    ASSERT_TRUE(search.ok()) << calc::CliText(search.diagnostic());

    const Output json_run = Optimize(c.input, cli::Format::kJson);
    ASSERT_EQ(json_run.exit_code, 0) << json_run.errors;
    const nlohmann::json json = nlohmann::json::parse(json_run.out);
    ExpectSameSet(json.at("reference"), search->reference);
    ASSERT_EQ(json.at("candidates").size(), search->sets.size());
    for (std::size_t i = 0; i < search->sets.size(); ++i) {
      SCOPED_TRACE(i);
      ExpectSameSet(json.at("candidates").at(i), search->sets[i]);
    }
    EXPECT_EQ(json.at("searched").get<std::int64_t>(), search->searched);
    ASSERT_TRUE(search->continuous.has_value());
    EXPECT_EQ(json.at("continuous").at("r3").get<double>(), search->continuous->R3);
    EXPECT_EQ(json.contains("lowest_gbw_hz"), search->lowest_gbw_hz.has_value());
    if (search->lowest_gbw_hz) {
      EXPECT_EQ(json.at("lowest_gbw_hz").get<double>(), *search->lowest_gbw_hz);
    }

    EXPECT_EQ(Optimize(c.input, cli::Format::kCsv).out, calc::SearchCsv(*search));
    EXPECT_EQ(Optimize(c.input, cli::Format::kText).out, calc::SearchReport(*search));
  }
}

TEST(Optimize, RefusesUnusableSettingsWithoutSearching) {
  cli::OptimizeInput input;
  input.steps = "7";
  Output run = Optimize(input, cli::Format::kJson);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.errors, "error: the search width must be a whole number of steps from 0 to 6\n");

  input = {};
  input.design.fo = "\xff";
  run = Optimize(input, cli::Format::kText);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.errors.find("--fo"), std::string::npos) << run.errors;
}

}  // namespace

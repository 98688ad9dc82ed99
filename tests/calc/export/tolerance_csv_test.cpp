#include "calc/export/tolerance_csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "calc/circuit/band_pass.h"
#include "calc/text/number_text.h"

namespace {

using calc::Circuit;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << "records end in CR LF";
    if (!line.empty()) line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

calc::MonteCarloResult SmallRun(const Circuit& nominal) {
  calc::ToleranceSettings settings;
  settings.trials = 50;
  settings.seed = 9;
  return *calc::RunMonteCarlo(nominal, settings);
}

TEST(TrialsCsv, OneRowPerTrialThatReadsBackExactly) {
  const calc::MonteCarloResult run = SmallRun({11e3, 11e3, 22e3, 15e-9, 15e-9});
  const std::vector<std::string> lines = Lines(calc::TrialsCsv(run));
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_EQ(lines[0], "trial,R1,R2,R3,C1,C2,fo_hz,Q,H");
  // Row 7: its number, then every value to the last bit.
  std::istringstream row(lines[8]);
  std::vector<double> cells;
  for (std::string cell; std::getline(row, cell, ',');)
    cells.push_back(std::strtod(cell.c_str(), nullptr));
  ASSERT_EQ(cells.size(), 9u);
  const calc::Trial& t = run.trials[7];
  EXPECT_EQ(cells[0], 7);
  EXPECT_EQ(cells[1], t.circuit.R1);
  EXPECT_EQ(cells[2], t.circuit.R2);
  EXPECT_EQ(cells[5], t.circuit.C2);
  EXPECT_EQ(cells[6], t.figures.Fo);
  EXPECT_EQ(cells[8], t.figures.H);
}

TEST(TrialsCsv, NoR2ColumnWithoutR2) {
  const std::vector<std::string> lines =
      Lines(calc::TrialsCsv(SmallRun({5100, calc::kNoValue, 22e3, 15e-9, 15e-9})));
  EXPECT_EQ(lines[0], "trial,R1,R3,C1,C2,fo_hz,Q,H");
  EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), ','), 7);
}

TEST(SummaryCsv, HoldsEachSectionAndLeavesOutAbsentParts) {
  const Circuit nominal{5100, calc::kNoValue, 22e3, 15e-9, 15e-9};
  const calc::MonteCarloResult run = SmallRun(nominal);
  const std::string csv =
      calc::SummaryCsv(calc::AnalyzeSensitivities(nominal), std::nullopt,
                       calc::AnalyzeWorstCase(nominal, calc::kDefaultTolerances), run);
  const std::vector<std::string> lines = Lines(csv);
  EXPECT_EQ(lines[0], "section,figure,statistic,value");
  auto has = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has("sensitivity,fo,C1,-0.5"));
  EXPECT_TRUE(has("sensitivity,H,R1,-1"));
  EXPECT_TRUE(has("monte_carlo,,trials,50"));
  EXPECT_TRUE(has("monte_carlo,,seed,9"));
  EXPECT_TRUE(has("monte_carlo,,distribution,uniform"));
  EXPECT_TRUE(has("monte_carlo,C1,tolerance,0.05"));
  EXPECT_TRUE(has("monte_carlo,fo,nominal," + calc::ShortestText(calc::Analyze(nominal).Fo)));
  EXPECT_EQ(csv.find(",R2,"), std::string::npos);
  EXPECT_EQ(csv.find("GBW"), std::string::npos);
}

}  // namespace

#include "calc/export/tolerance_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using calc::Circuit;

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "the last line must end in CR LF";
  return lines;
}

std::u16string Report(const Circuit& circuit, const calc::ToleranceSettings& settings) {
  const auto run = calc::RunMonteCarlo(circuit, settings);
  return calc::BuildToleranceReport(circuit, calc::AnalyzeSensitivities(circuit), std::nullopt,
                                    calc::AnalyzeWorstCase(circuit, settings.tolerances), *run);
}

bool Contains(const std::vector<std::u16string>& lines, std::u16string_view line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(BuildToleranceReport, DefaultDesignWithZeroTolerances) {
  calc::ToleranceSettings settings;
  settings.tolerances = {0, 0, 0, 0, 0};
  settings.trials = 100;
  settings.seed = 5;
  const std::vector<std::u16string> lines =
      Lines(Report({11e3, 11e3, 22e3, 15e-9, 15e-9}, settings));
  EXPECT_EQ(lines[0], u"2nd BPF tolerance");
  EXPECT_TRUE(Contains(lines, u"R1 =  11.000kΩ  R2 =  11.000kΩ  R3 =  22.000kΩ"));
  EXPECT_TRUE(Contains(lines, u"R1 ±0.00%  R2 ±0.00%  R3 ±0.00%  C1 ±0.00%  C2 ±0.00%"));
  EXPECT_TRUE(Contains(lines, u"uniform, trials 100, seed 5"));
  EXPECT_TRUE(Contains(lines, u"fo       -0.2500   -0.2500   -0.5000   -0.5000   -0.5000"));
  EXPECT_TRUE(Contains(lines, u"              R1        R2        R3        C1        C2"));
  EXPECT_TRUE(Contains(lines, u"fo      964.575   964.575 "));
  EXPECT_TRUE(Contains(lines, u"Q      1000.000m 1000.000m"));
  EXPECT_TRUE(Contains(lines, u"yield = 100.00%  (95% interval 96.30% - 100.00%)"));
  EXPECT_TRUE(Contains(lines, u"limits fo ±2.00%  Q ±5.00%  H ±5.00%"));
}

TEST(BuildToleranceReport, LeavesOutAnAbsentR2) {
  calc::ToleranceSettings settings;
  settings.trials = 10;
  settings.distribution = calc::Distribution::kNormal;
  const std::vector<std::u16string> lines =
      Lines(Report({5100, calc::kNoValue, 22e3, 15e-9, 15e-9}, settings));
  EXPECT_TRUE(Contains(lines, u"R1 ±1.00%  R3 ±1.00%  C1 ±5.00%  C2 ±5.00%"));
  EXPECT_TRUE(Contains(lines, u"              R1        R3        C1        C2"));
  EXPECT_TRUE(Contains(lines, u"H        -1.0000    1.0000   -0.5000    0.5000"));
  EXPECT_TRUE(Contains(lines, u"normal (tolerance = 3 sigma), trials 10, seed 0"));
}

}  // namespace

// The joint search as text: the cells of its table (what the window shows) and
// korvane-cli's report.
#include "calc/export/search_report.h"

#include <gtest/gtest.h>

#include "calc/circuit/circuit.h"
#include "calc/text/utf8.h"

namespace {

calc::ScoredSet BestSet() {
  calc::ScoredSet set;
  set.parts = {47000.0, 510.0, 220000.0, 6.8e-10, 3.3e-9};
  set.texts = {u" 47.000k", u"510.000", u"220.000k", u"680.000p", u"  3.300n"};
  set.figures = {10085.0, 7.86, 3.881};
  set.errors = {0.0085, -0.0176, -0.0297};
  set.score = 0.9916666666666667;
  return set;
}

TEST(SearchRow, WritesPartsFiguresErrorsScoreAndYield) {
  calc::ScoredSet set = BestSet();
  calc::SearchRowTexts expected = {u"47.000k", u"510.000", u"220.000k", u"680.000p", u"3.300n",
                                   u"10.085k", u"7.860",   u"3.881",    u"+0.85%",   u"-1.76%",
                                   u"-2.97%",  u"0.992",   u"",         u""};
  EXPECT_EQ(calc::SearchRow(set), expected);

  // A figure on target has no sign, one too small to show neither; a yield shows with its
  // interval; a figure not found is an empty cell.
  set.errors = {0.0, -0.00001, 0.00001};
  set.figures.Q = calc::kNoValue;
  set.yield = calc::Proportion{972, 1000, 0.972, 0.9593, 0.9809};
  const calc::SearchRowTexts row = calc::SearchRow(set);
  EXPECT_EQ(row[static_cast<int>(calc::SearchColumn::kQ)], u"");
  EXPECT_EQ(row[static_cast<int>(calc::SearchColumn::kFoError)], u"0.00%");
  EXPECT_EQ(row[static_cast<int>(calc::SearchColumn::kQError)], u"0.00%");
  EXPECT_EQ(row[static_cast<int>(calc::SearchColumn::kHError)], u"0.00%");
  EXPECT_EQ(row[static_cast<int>(calc::SearchColumn::kYield)], u"97.2%");
  EXPECT_EQ(row[static_cast<int>(calc::SearchColumn::kYieldInterval)], u"95.9-98.1%");
}

TEST(SearchReport, PrintsTheCountTheContinuousDesignAndTheTable) {
  calc::PreferredValueSearch search;
  search.searched = 3125;
  search.continuous = calc::Circuit{21220.0, calc::kNoValue, 169760.0, 1.5e-9, 1.5e-9};
  search.lowest_gbw_hz = 2.5e6;
  search.reference = BestSet();
  search.reference.texts[calc::kR2] = u"";
  search.reference.parts.R2 = calc::kNoValue;
  search.sets = {BestSet()};
  EXPECT_EQ(calc::SearchReport(search),
            "Searched 3125 sets.\n"
            "Continuous design for the design's C1 and C2: R1 21.220k R3 169.760k C1 1.500n "
            "C2 1.500n\n"
            "Lowest GBW for the design's C1 and C2: 2.500MHz\n"
            "set             R1       R2        R3        C1      C2       fo      Q      H  "
            "fo error  Q error  H error  score\n"
            "reference  47.000k           220.000k  680.000p  3.300n  10.085k  7.860  3.881    "
            "+0.85%   -1.76%   -2.97%  0.992\n"
            "1          47.000k  510.000  220.000k  680.000p  3.300n  10.085k  7.860  3.881    "
            "+0.85%   -1.76%   -2.97%  0.992\n");
}

}  // namespace

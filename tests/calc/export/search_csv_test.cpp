// The joint search as CSV: its table one row per set, reference first, and a set's parts
// list (BOM), both through the one CSV writer with shortest round-trip numbers.
#include "calc/export/search_csv.h"

#include <gtest/gtest.h>

#include "calc/circuit/circuit.h"

namespace {

// A set without R2 and one with it, their figures chosen so that every number is short.
calc::PreferredValueSearch Fixture() {
  calc::PreferredValueSearch search;
  calc::ScoredSet& reference = search.reference;
  reference.parts = {22000.0, calc::kNoValue, 180000.0, 1.5e-9, 1.5e-9};
  reference.texts = {u" 22.000k", u"", u"180.000k", u"  1.500n", u"  1.500n"};
  reference.figures = {9750.0, 8.25, 4.0};
  reference.errors = {-0.025, 0.03125, 0.0};
  reference.score = 2.5;
  calc::ScoredSet best;
  best.parts = {47000.0, 510.0, 220000.0, 6.8e-10, 3.3e-9};
  best.texts = {u" 47.000k", u"510.000", u"220.000k", u"680.000p", u"  3.300n"};
  best.figures = {10085.0, 7.86, 3.881};
  best.errors = {0.0085, -0.0175, -0.02975};
  best.score = 0.9916666666666667;
  search.sets = {best};
  return search;
}

TEST(SearchCsv, WritesOneRowPerSetReferenceFirst) {
  calc::PreferredValueSearch search = Fixture();
  EXPECT_EQ(
      calc::SearchCsv(search),
      "set,r1,r2,r3,c1,c2,r1_text,r2_text,r3_text,c1_text,c2_text,fo,q,h,fo_error,q_error,"
      "h_error,score\r\n"
      "reference,22000,,180000,1.5e-09,1.5e-09,22.000k,,180.000k,1.500n,1.500n,9750,8.25,4,"
      "-0.025,0.03125,0,2.5\r\n"
      "1,47000,510,220000,6.8e-10,3.3e-09,47.000k,510.000,220.000k,680.000p,3.300n,10085,7.86,"
      "3.881,0.0085,-0.0175,-0.02975,0.9916666666666667\r\n");

  // With a yield run, three columns more; a yield that could not be found is empty.
  search.reference.yield = calc::Proportion{1, 4, 0.25, 0.125, 0.5};
  search.sets[0].yield = calc::Proportion{};
  const std::string csv = calc::SearchCsv(search);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "set,r1,r2,r3,c1,c2,r1_text,r2_text,r3_text,c1_text,c2_text,fo,q,h,fo_error,q_error,"
            "h_error,score,yield,yield_low,yield_high");
  EXPECT_NE(csv.find(",2.5,0.25,0.125,0.5\r\n1,"), std::string::npos) << csv;
  EXPECT_TRUE(csv.ends_with(",0.9916666666666667,,,\r\n")) << csv;
}

TEST(BomCsv, ListsEachPartWithItsSeriesAndTolerance) {
  const calc::PreferredValueSearch search = Fixture();
  const calc::PartValues tolerances{0.01, 0.01, 0.005, 0.05, 0.02};
  // No R2 in the reference: its row is left out rather than written empty.
  EXPECT_EQ(calc::BomCsv(search.reference, 24, 6, tolerances),
            "designator,value_text,value,series,tolerance\r\n"
            "R1,22.000k,22000,E24,0.01\r\n"
            "R3,180.000k,180000,E24,0.005\r\n"
            "C1,1.500n,1.5e-09,E6,0.05\r\n"
            "C2,1.500n,1.5e-09,E6,0.02\r\n");
  EXPECT_EQ(calc::BomCsv(search.sets[0], 192, 0, tolerances),
            "designator,value_text,value,series,tolerance\r\n"
            "R1,47.000k,47000,E192,0.01\r\n"
            "R2,510.000,510,E192,0.01\r\n"
            "R3,220.000k,220000,E192,0.005\r\n"
            "C1,680.000p,6.8e-10,none,0.05\r\n"
            "C2,3.300n,3.3e-09,none,0.02\r\n");
}

}  // namespace

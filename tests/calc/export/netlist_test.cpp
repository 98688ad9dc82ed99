// The deck's text as a designer reads it, without a simulator (ngspice_test runs the decks).
#include "calc/export/netlist.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

bool HasLine(const std::string& deck, const std::string& line) {
  return ("\n" + deck).find("\n" + line + "\n") != std::string::npos;
}

TEST(SpiceNetlist, PartsAndSweepReadAsTheDesignerTypedThem) {
  // 15 nF and 4.7 kΩ as the snapping arithmetic leaves them: a few units in the last
  // place off the values the designer picked.
  const calc::Circuit circuit{4.7000000000000002e3, calc::kNoValue, 1.0000000000000002e5,
                              1.4999999999999492e-08, 1.5000000000000001e-08};
  const std::string deck =
      calc::SpiceNetlist(circuit, calc::OpAmp{1e5, 1e6}, {10.000000000000002, 1e5, 401});
  for (const char* line :
       {"R1 in sum 4.7e+03", "R3 inv out 1e+05", "C1 sum out 1.5e-08", "C2 sum inv 1.5e-08",
        "RP pole 0 1e+05", "CP pole 0 1.59154943092e-07", ".ac dec 100 1e+01 1e+05"}) {
    EXPECT_TRUE(HasLine(deck, line)) << line << "\n" << deck;
  }
}

}  // namespace

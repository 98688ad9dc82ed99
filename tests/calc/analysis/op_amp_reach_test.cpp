// How far a short op-amp reaches, held to its definition through RequiredGbw (itself held
// to ngspice): at the reach the circuit just keeps the tolerance, a little beyond it not.
#include "calc/analysis/op_amp_reach.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/circuit/band_pass.h"

namespace {

struct Case {
  const char* name;
  calc::TransferFunction wanted;  // designed exactly around 1 nF and 1 nF
  calc::OpAmp op_amp;
};

TEST(ReachOfOpAmp, JustKeepsTheToleranceAtTheReachAndNotBeyond) {
  const Case cases[] = {
      {"50 kHz, Q 15 on 10 MHz", {50e3, 15, 1}, calc::OpAmp{1e5, 10e6}},
      {"10 kHz, Q 10, H 10 on 8 MHz", {10e3, 10, 10}, calc::OpAmp{1e5, 8e6}},
      {"1 kHz, Q 5, H 2 on 300 kHz", {1e3, 5, 2}, calc::OpAmp{2e5, 300e3}},
  };
  constexpr double kTolerance = 0.01;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const calc::Circuit circuit = calc::ExactResistors(c.wanted, 1e-9, 1e-9);
    const calc::TransferFunction own = calc::Analyze(circuit);
    ASSERT_GT(calc::RequiredGbw(circuit, c.op_amp, kTolerance), c.op_amp.Gbw);  // short
    const calc::OpAmpReach reach = calc::ReachOfOpAmp(circuit, c.op_amp, kTolerance);

    // The highest fo at this Q: the capacitors scaled, the required GBW then the op-amp's.
    ASSERT_TRUE(std::isfinite(reach.fo_at_q_hz));
    EXPECT_LT(reach.fo_at_q_hz, own.Fo);
    const double scale = own.Fo / reach.fo_at_q_hz;
    calc::Circuit slower = circuit;
    slower.C1 *= scale;
    slower.C2 *= scale;
    EXPECT_NEAR(calc::Analyze(slower).Q, own.Q, own.Q * 1e-12);
    EXPECT_NEAR(calc::RequiredGbw(slower, c.op_amp, kTolerance) / c.op_amp.Gbw, 1.0, 1e-6);

    // The highest Q at this fo: kept there, missed 0.3 % above.
    ASSERT_TRUE(std::isfinite(reach.q_at_fo));
    EXPECT_LT(reach.q_at_fo, own.Q);
    const auto required_at = [&](double q) {
      return calc::RequiredGbw(calc::ExactResistors({own.Fo, q, own.H}, 1e-9, 1e-9), c.op_amp,
                               kTolerance);
    };
    EXPECT_LE(required_at(reach.q_at_fo), c.op_amp.Gbw);
    EXPECT_GT(required_at(reach.q_at_fo * 1.003), c.op_amp.Gbw);
  }
}

TEST(ReachOfOpAmp, NoQServesWhereEvenTheLowestForThisGainNeedsMore) {
  // 10 kHz, H 10 on 1 MHz: Q cannot go below sqrt(H / 2) = 2.24 with equal capacitors, and
  // Q 2.3 already needs 4.5 MHz (korvane-cli response --design --fo 10k --q 2.3 --h 10
  // --series-r inf --series-c inf --gbw 1M); a lower fo still serves at Q 10.
  const calc::Circuit circuit = calc::ExactResistors({10e3, 10, 10}, 1e-9, 1e-9);
  const calc::OpAmpReach reach = calc::ReachOfOpAmp(circuit, calc::OpAmp{1e5, 1e6}, 0.01);
  EXPECT_TRUE(std::isnan(reach.q_at_fo));
  EXPECT_TRUE(std::isfinite(reach.fo_at_q_hz));
}

TEST(ReachOfOpAmp, NothingServesWhereA0IsTooLow) {
  // Q 40 at 43 kHz, H 100: an A0 of 100k misses 1 % at any GBW, so no fo serves at this Q.
  const calc::Circuit circuit{1.5e3, 47, 300e3, 1e-9, 1e-9};
  const calc::OpAmpReach reach = calc::ReachOfOpAmp(circuit, calc::OpAmp{1e5, 1e6}, 0.01);
  EXPECT_TRUE(std::isnan(reach.fo_at_q_hz));
}

}  // namespace

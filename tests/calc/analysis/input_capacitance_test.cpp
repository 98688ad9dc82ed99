// The op-amp's input capacitance in every use of the model: the response, the required GBW
// and A0, and the model's sensitivities. (The netlist's is ngspice_test's.)
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "calc/analysis/model_sensitivity.h"
#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"

namespace {

// A high-impedance design (C2 = 150 pF, R3 = 1.07 MΩ) on which 20 pF of input
// capacitance is felt: it and C2 divide the feedback to the inverting input.
const calc::Circuit kHighImpedance = calc::Design({10e3, 5, 2, 100e3, 96, 12}).Snapped;

TEST(InputCapacitance, VanishesWithAnIdealOpAmp) {
  // Cin loads the inverting input, which an op-amp of unbounded gain holds at ground.
  const calc::OpAmp huge{1e13, 1e16, 1e-9};
  for (const double f : {100.0, 1e4, 1e6}) {
    SCOPED_TRACE(f);
    const std::complex<double> ideal = calc::CircuitResponse(kHighImpedance, std::nullopt, f);
    const std::complex<double> loaded = calc::CircuitResponse(kHighImpedance, huge, f);
    EXPECT_LT(std::abs(loaded - ideal), 1e-6 * std::abs(ideal));
  }
}

TEST(InputCapacitance, RaisesTheOpAmpsNeeds) {
  // The boundary RequiredGbw and RequiredA0 find is the model's with Cin: the figures hold
  // there and break a little below; and Cin asks for more of both.
  const double cin = 20e-12, tolerance = 0.01;
  const calc::ResponseFigures ideal = calc::MeasureCircuit(kHighImpedance, std::nullopt);
  const double gbw = calc::RequiredGbw(kHighImpedance, calc::OpAmp{1e5, 1e6, cin}, tolerance);
  EXPECT_GT(gbw, 1.2 * calc::RequiredGbw(kHighImpedance, calc::OpAmp{1e5, 1e6}, tolerance));
  EXPECT_TRUE(calc::FiguresWithinTolerance(
      calc::MeasureCircuit(kHighImpedance, calc::OpAmp{1e5, gbw, cin}), ideal, tolerance));
  EXPECT_FALSE(calc::FiguresWithinTolerance(
      calc::MeasureCircuit(kHighImpedance, calc::OpAmp{1e5, 0.98 * gbw, cin}), ideal, tolerance));

  const double a0 = calc::RequiredA0(kHighImpedance, calc::OpAmp{1e5, 1e6, cin}, tolerance);
  const double infinite = INFINITY;
  EXPECT_GT(a0, calc::RequiredA0(kHighImpedance, calc::OpAmp{}, tolerance));
  EXPECT_TRUE(calc::FiguresWithinTolerance(
      calc::MeasureCircuit(kHighImpedance, calc::OpAmp{a0, infinite, cin}), ideal, tolerance));
  EXPECT_FALSE(calc::FiguresWithinTolerance(
      calc::MeasureCircuit(kHighImpedance, calc::OpAmp{0.98 * a0, infinite, cin}), ideal,
      tolerance));
  // ... and an op-amp with that A0 needs a finite GBW to add to it, no more.
  EXPECT_TRUE(
      std::isnan(calc::RequiredGbw(kHighImpedance, calc::OpAmp{0.98 * a0, 1e6, cin}, tolerance)));
  EXPECT_TRUE(
      std::isnan(calc::RequiredA0(kHighImpedance, calc::OpAmp{1e5, 1e6, -1e-12}, tolerance)));
}

TEST(InputCapacitance, MovesTheModelsSensitivities) {
  const calc::Sensitivities bare = calc::ModelSensitivities(kHighImpedance, {1e5, 5e6});
  const calc::Sensitivities loaded = calc::ModelSensitivities(kHighImpedance, {1e5, 5e6, 20e-12});
  EXPECT_GT(std::fabs(loaded.H.Gbw), 1.1 * std::fabs(bare.H.Gbw));
}

}  // namespace

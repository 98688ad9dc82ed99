#include "calc/analysis/sensitivity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "calc/circuit/band_pass.h"
#include "calc/circuit/circuit_parts.h"

namespace {

using calc::Circuit;
using calc::kNoValue;
using calc::PartSensitivities;
using calc::TransferFunction;

struct NamedCircuit {
  const char* name;
  Circuit circuit;
};

const NamedCircuit kCircuits[] = {
    {"default design", {11e3, 11e3, 22e3, 15e-9, 15e-9}},
    {"no R2", {5100, kNoValue, 22e3, 15e-9, 15e-9}},
    {"unequal capacitors", {8200, 180e3, 43e3, 4.7e-9, 15e-9}},
    {"high Q at 100 kHz", {1.6e3, 8.2, 62e3, 1e-9, 1e-9}},
    {"C1 above C2, no R2", {2.2e3, kNoValue, 100e3, 22e-9, 4.7e-9}},
};

double Entry(const PartSensitivities& s, int part) {
  const double entries[] = {s.R1, s.R2, s.R3, s.C1, s.C2};
  return entries[part];
}

// d ln y / d ln x by central differences in ln x: the step's truncation error (about
// 1e-10) and rounding error (about 1e-11) both stay far below the 1e-6 being checked.
double CentralDifference(const Circuit& circuit, int part, double TransferFunction::*figure) {
  constexpr double kStep = 1e-5;
  auto figure_at = [&](double factor) {
    calc::PartValues parts = calc::PartsOf(circuit);
    parts[part] *= factor;
    return calc::Analyze(calc::CircuitOf(parts)).*figure;
  };
  return (std::log(figure_at(std::exp(kStep))) - std::log(figure_at(std::exp(-kStep)))) /
         (2.0 * kStep);
}

TEST(AnalyzeSensitivities, AgreeWithCentralDifferencesOfTheFormulas) {
  for (const NamedCircuit& c : kCircuits) {
    SCOPED_TRACE(c.name);
    const calc::Sensitivities s = calc::AnalyzeSensitivities(c.circuit);
    for (int part = 0; part < calc::kPartCount; ++part) {
      SCOPED_TRACE(calc::kPartNames[part]);
      if (!calc::HasPart(c.circuit, part)) {
        EXPECT_TRUE(std::isnan(Entry(s.Fo, part)));
        EXPECT_TRUE(std::isnan(Entry(s.Q, part)));
        EXPECT_TRUE(std::isnan(Entry(s.H, part)));
        continue;
      }
      EXPECT_NEAR(Entry(s.Fo, part), CentralDifference(c.circuit, part, &TransferFunction::Fo),
                  1e-6);
      EXPECT_NEAR(Entry(s.Q, part), CentralDifference(c.circuit, part, &TransferFunction::Q), 1e-6);
      EXPECT_NEAR(Entry(s.H, part), CentralDifference(c.circuit, part, &TransferFunction::H), 1e-6);
    }
    EXPECT_TRUE(std::isnan(s.Fo.Gbw));
  }
}

// Identities that follow from the formulas' form, whatever the values: fo ~ 1/sqrt(R3 C1 C2)
// times a function of R1 and R2; H ~ R3 / R1; fo scales as 1/(RC), Q and H not at all.
TEST(AnalyzeSensitivities, IdentitiesOfTheFormulas) {
  for (const NamedCircuit& c : kCircuits) {
    SCOPED_TRACE(c.name);
    const calc::Sensitivities s = calc::AnalyzeSensitivities(c.circuit);
    EXPECT_EQ(s.Fo.R3, -0.5);
    EXPECT_EQ(s.Fo.C1, -0.5);
    EXPECT_EQ(s.Fo.C2, -0.5);
    EXPECT_EQ(s.H.R3, 1.0);
    EXPECT_EQ(s.H.R1, -1.0);
    EXPECT_EQ(s.Q.R3, 0.5);
    const double r2_fo = c.circuit.HasR2() ? s.Fo.R2 : 0.0;
    const double r2_q = c.circuit.HasR2() ? s.Q.R2 : 0.0;
    const double r2_h = c.circuit.HasR2() ? s.H.R2 : 0.0;
    EXPECT_NEAR(s.Fo.R1 + r2_fo + s.Fo.R3, -1.0, 1e-15);
    EXPECT_NEAR(s.Fo.C1 + s.Fo.C2, -1.0, 1e-15);
    EXPECT_NEAR(s.Q.R1 + r2_q + s.Q.R3, 0.0, 1e-15);
    EXPECT_NEAR(s.Q.C1 + s.Q.C2, 0.0, 1e-15);
    EXPECT_NEAR(s.H.R1 + r2_h + s.H.R3, 0.0, 1e-15);
    EXPECT_NEAR(s.H.C1 + s.H.C2, 0.0, 1e-15);
    // R1 and R2 act only through 1/R1 + 1/R2, so fo and Q follow them alike.
    EXPECT_EQ(s.Fo.R1, s.Q.R1);
    if (c.circuit.HasR2()) {
      EXPECT_EQ(s.H.R2, 0.0);
    }
  }
}

TEST(AnalyzeSensitivities, HeaderExampleAndTheQPeakAtEqualCapacitors) {
  const calc::Sensitivities s = calc::AnalyzeSensitivities({10e3, 10e3, 20e3, 10e-9, 10e-9});
  EXPECT_EQ(s.Fo.R1, -0.25);
  EXPECT_EQ(s.Fo.R2, -0.25);
  // Q is largest at C1 = C2, so neither capacitor moves it to first order there.
  EXPECT_EQ(s.Q.C1, 0.0);
  EXPECT_EQ(s.Q.C2, 0.0);
  EXPECT_FALSE(std::signbit(s.Q.C2)) << "a -0 would print as -0.0000";
  EXPECT_EQ(s.H.C1, -0.5);
  EXPECT_EQ(s.H.C2, 0.5);
}

}  // namespace

#include "calc/analysis/response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "calc/circuit/band_pass.h"
#include "calc/export/netlist.h"

namespace {

using calc::Circuit;

// Designs from low-Q audio to a narrow 100 kHz filter, with and without R2.
struct NamedDesign {
  const char* name;
  calc::DesignRequest request;
};
const NamedDesign kDesigns[] = {
    {"audio, Q 0.7", {100, 0.7, 1, 10e3, 24, 6}},
    {"default 1 kHz", {1e3, 1, 1, 10e3, 24, 6}},
    {"no R2: H = 2 Q^2", {1e3, 1, 2, 10e3, 24, 6}},
    {"Q 5, gain 2", {1e3, 5, 2, 10e3, 96, 12}},
    {"Q 20 at 100 kHz", {100e3, 20, 1, 1e3, 192, 24}},
    {"no R2, high gain", {10e3, 2, 20, 4.7e3, 24, 6}},
};

double RelativeError(double value, double reference) {
  return std::fabs(value - reference) / std::fabs(reference);
}

TEST(CircuitResponse, IdealNodeSolutionIsTheClosedFormOverEightDecades) {
  for (const NamedDesign& d : kDesigns) {
    SCOPED_TRACE(d.name);
    const calc::DesignResult design = calc::Design(d.request);
    const double fo = design.Achieved.Fo;
    double worst = 0;
    for (const double f : calc::LogFrequencies(fo / 1e4, fo * 1e4, 801)) {
      const std::complex<double> node = calc::CircuitResponse(design.Snapped, std::nullopt, f);
      const std::complex<double> closed = calc::ClosedFormResponse(design.Snapped, f);
      worst = std::max(worst, std::abs(node - closed) / std::abs(closed));
    }
    EXPECT_LT(worst, 1e-12);
  }
}

// The ideal circuit's measured peak and bandwidth Q are the analysis' fo and Q; its centre
// gain is H and its phase there is 180 degrees (the filter inverts).
TEST(MeasureResponse, IdealCircuitGivesTheAnalysisFigures) {
  for (const NamedDesign& d : kDesigns) {
    SCOPED_TRACE(d.name);
    const calc::DesignResult design = calc::Design(d.request);
    const calc::TransferFunction& analysis = design.Achieved;
    const calc::ResponseFigures figures = calc::MeasureCircuit(design.Snapped, std::nullopt);
    EXPECT_LT(RelativeError(figures.peak_hz, analysis.Fo), 1e-7);
    EXPECT_LT(RelativeError(figures.q_bandwidth, analysis.Q), 1e-7);
    EXPECT_LT(RelativeError(std::pow(10.0, figures.peak_gain_db / 20), analysis.H), 1e-9);
    EXPECT_LT(RelativeError(figures.low_3db_hz * figures.high_3db_hz, analysis.Fo * analysis.Fo),
              1e-7);
    EXPECT_NEAR(std::fabs(figures.phase_at_peak_deg), 180.0, 1e-4);
  }
}

TEST(MeasureResponse, TargetGivesItsOwnFigures) {
  const calc::TransferFunction target{12.5e3, 7.5, 3};
  const calc::ResponseFigures figures =
      calc::MeasureResponse([&target](double f) { return calc::TargetResponse(target, f); }, 10e3);
  EXPECT_LT(RelativeError(figures.peak_hz, 12.5e3), 1e-7);
  EXPECT_LT(RelativeError(figures.q_bandwidth, 7.5), 1e-7);
  EXPECT_LT(RelativeError(figures.bandwidth_hz, 12.5e3 / 7.5), 1e-7);
  EXPECT_NEAR(figures.peak_gain_db, 20 * std::log10(3.0), 1e-9);
}

// A very wide, low-Q band-pass has its -3 dB points about 1/Q either side of fo: for Q
// 1e-7 seven decades out, still inside the eight decades searched. The target's exact
// points are fo (sqrt(1 + 1/(4 Q^2)) -+ 1/(2 Q)), so its bandwidth is fo / Q.
TEST(MeasureResponse, FindsTheEdgesOfVeryWideLowQResponses) {
  for (const double q : {1e-2, 1e-4, 1e-6, 1e-7}) {
    SCOPED_TRACE(q);
    const calc::TransferFunction target{1e3, q, 2};
    const calc::ResponseFigures figures =
        calc::MeasureResponse([&target](double f) { return calc::TargetResponse(target, f); }, 1e3);
    const double half = 1 / (2 * q), root = std::sqrt(1 + half * half);
    EXPECT_LT(RelativeError(figures.low_3db_hz, 1e3 / (root + half)), 1e-6);
    EXPECT_LT(RelativeError(figures.high_3db_hz, 1e3 * (root + half)), 1e-6);
    EXPECT_LT(RelativeError(figures.bandwidth_hz, 1e3 / q), 1e-6);
    EXPECT_NEAR(figures.peak_gain_db, 20 * std::log10(2.0), 1e-9);
  }
}

TEST(CircuitResponse, AFastOpAmpApproachesTheIdealOneAndASlowOneMovesThePeak) {
  const calc::DesignResult design = calc::Design(kDesigns[3].request);  // Q 5 at 1 kHz
  const calc::ResponseFigures ideal = calc::MeasureCircuit(design.Snapped, std::nullopt);
  const calc::ResponseFigures fast = calc::MeasureCircuit(design.Snapped, calc::OpAmp{1e12, 1e15});
  EXPECT_LT(RelativeError(fast.peak_hz, ideal.peak_hz), 1e-7);
  EXPECT_LT(RelativeError(fast.q_bandwidth, ideal.q_bandwidth), 1e-6);
  // A 100 kHz op-amp pulls a Q-5 filter's peak down by percents.
  const calc::ResponseFigures slow = calc::MeasureCircuit(design.Snapped, calc::OpAmp{1e5, 100e3});
  EXPECT_LT(slow.peak_hz, ideal.peak_hz * 0.99);
}

// The required GBW is the boundary it claims: every figure of the table (peak, Q, gain,
// bandwidth, both -3 dB edges) holds at it and above, and one breaks at 0.9 times it.
TEST(RequiredGbw, IsTheBoundaryOfTheTolerance) {
  const auto within = [](const calc::ResponseFigures& f, const calc::ResponseFigures& ideal,
                         double tolerance) {
    return RelativeError(f.peak_hz, ideal.peak_hz) <= tolerance &&
           RelativeError(f.q_bandwidth, ideal.q_bandwidth) <= tolerance &&
           RelativeError(std::pow(10.0, f.peak_gain_db / 20),
                         std::pow(10.0, ideal.peak_gain_db / 20)) <= tolerance &&
           RelativeError(f.bandwidth_hz, ideal.bandwidth_hz) <= tolerance &&
           RelativeError(f.low_3db_hz, ideal.low_3db_hz) <= tolerance &&
           RelativeError(f.high_3db_hz, ideal.high_3db_hz) <= tolerance;
  };
  for (const NamedDesign& d : kDesigns) {
    for (const double tolerance : {0.01, 0.05}) {
      SCOPED_TRACE(std::string(d.name) + " tolerance " + std::to_string(tolerance));
      const Circuit circuit = calc::Design(d.request).Snapped;
      const double gbw = calc::RequiredGbw(circuit, calc::OpAmp{1e5, 1e6}, tolerance);
      ASSERT_TRUE(std::isfinite(gbw));
      const calc::ResponseFigures ideal = calc::MeasureCircuit(circuit, std::nullopt);
      EXPECT_TRUE(within(calc::MeasureCircuit(circuit, calc::OpAmp{1e5, gbw}), ideal, tolerance));
      EXPECT_TRUE(
          within(calc::MeasureCircuit(circuit, calc::OpAmp{1e5, 3 * gbw}), ideal, tolerance));
      EXPECT_FALSE(
          within(calc::MeasureCircuit(circuit, calc::OpAmp{1e5, 0.9 * gbw}), ideal, tolerance));
    }
  }
}

TEST(RequiredGbw, NoValueWhenTheDcGainAloneBreaksTheTolerance) {
  const Circuit q20 = calc::Design(kDesigns[4].request).Snapped;
  EXPECT_TRUE(std::isnan(calc::RequiredGbw(q20, calc::OpAmp{10, 1e6}, 0.01)));
}

TEST(RequiredSlewRate, IsTwoPiFTimesThePeakOutput) {
  // 10 kHz, 20 dB (a gain of 10), 1 V in: 2 pi 10^4 x 10 V/s.
  EXPECT_NEAR(calc::RequiredSlewRate(10e3, 20, 1), 628318.53071795865, 1e-6);
}

TEST(LogFrequencies, EndsAsAskedAndEvenlySpacedOnALogScale) {
  const std::vector<double> f = calc::LogFrequencies(10, 1e5, 5);
  ASSERT_EQ(f.size(), 5U);
  EXPECT_EQ(f.front(), 10);
  EXPECT_EQ(f.back(), 1e5);
  EXPECT_NEAR(f[2], 1e3, 1e-9);
  EXPECT_TRUE(calc::LogFrequencies(0, 1e3, 10).empty());
  EXPECT_TRUE(calc::LogFrequencies(1e300 * 1e300, 1e3, 10).empty());
  EXPECT_EQ(calc::LogFrequencies(10, 1e3, 1), std::vector<double>{10});
  EXPECT_TRUE(calc::LogFrequencies(10, 1e3, 0).empty());
}

TEST(LogFrequencies, PointsOnADecadeAreThatDecadeExactly) {
  // Grids whose steps fall on decades: each decade is the literal's double (exp(log(10) +
  // ...) gives 100.00000000000004), the points between rise strictly.
  struct Case {
    double from_hz, to_hz;
    int points;
    std::vector<double> decades;  // each must be a point, as its literal reads
  };
  const Case cases[] = {
      {10, 1e5, 401, {100, 1e3, 1e4}},
      {1e-3, 1e3, 61, {1e-2, 1e-1, 1, 10, 100}},
      {1e3, 1e9, 6001, {1e4, 1e5, 1e6, 1e7, 1e8}},
      {1e9, 1e3, 7, {1e8, 1e7, 1e6, 1e5, 1e4}},  // descending too
      // Half a decade a step from near sqrt(10): the decades fall a hair off the exact
      // steps and are still taken as decades.
      {3.16227766, 3.16227766e6, 13, {10, 100, 1e3, 1e4, 1e5, 1e6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from_hz);
    const std::vector<double> f = calc::LogFrequencies(c.from_hz, c.to_hz, c.points);
    ASSERT_EQ(f.size(), static_cast<std::size_t>(c.points));
    for (std::size_t i = 1; i < f.size(); ++i) {
      EXPECT_TRUE(c.to_hz > c.from_hz ? f[i] > f[i - 1] : f[i] < f[i - 1]) << i;
    }
    for (const double decade : c.decades) {
      EXPECT_NE(std::find(f.begin(), f.end(), decade), f.end()) << decade;
    }
  }
}

TEST(PhaseDeg, LiesInMinus180To180) {
  EXPECT_EQ(calc::PhaseDeg({-1.0, 0.0}), 180.0);
  EXPECT_EQ(calc::PhaseDeg({-1.0, -0.0}), 180.0);
  EXPECT_NEAR(calc::PhaseDeg({0.0, -1.0}), -90.0, 1e-12);
}

// Circuits no design makes: figures without a value, never a hang or a crash.
TEST(MeasureResponse, HostileCircuitsGiveNoFigures) {
  const Circuit circuits[] = {
      {0, calc::kNoValue, 1e3, 1e-9, 1e-9},
      {1e3, calc::kNoValue, 1e3, 0, 1e-9},
      {-1e3, 1e3, 1e3, 1e-9, 1e-9},
      {1e300, 1e300, 1e300, 1e300, 1e300},
      {calc::kNoValue, calc::kNoValue, calc::kNoValue, calc::kNoValue, calc::kNoValue},
  };
  for (const Circuit& circuit : circuits) {
    EXPECT_TRUE(std::isnan(calc::MeasureCircuit(circuit, std::nullopt).q_bandwidth));
    EXPECT_TRUE(std::isnan(calc::RequiredGbw(circuit, calc::OpAmp{1e5, 1e6}, 0.01)));
    EXPECT_TRUE(std::isnan(calc::RequiredA0(circuit, calc::OpAmp{1e5, 1e6}, 0.01)));
  }
}

TEST(SpiceNumber, TwelveSignificantDigitsShortestWithoutSuffixLetters) {
  // As a designer writes them: snapped parts lose the arithmetic's last-place dust; twelve
  // digits keep a computed value within 5e-13 of itself.
  const std::pair<double, const char*> cases[] = {
      {4.7e-9, "4.7e-09"},
      {22000, "2.2e+04"},
      {1.4999999999999492e-08, "1.5e-08"},
      {100.00000000000004, "1e+02"},
      {1.0 / 3, "3.33333333333e-01"},
      {2.0 / 3, "6.66666666667e-01"},
      {1.5915494309189533e-09, "1.59154943092e-09"},
      {123456789012.6, "1.23456789013e+11"},  // the twelfth digit rounds up
      {9.99999999999e5, "9.99999999999e+05"},
      {9.999999999999e5, "1e+06"},  // rounds into the next decade
      {6.02214076e23, "6.02214076e+23"},
      {-2.5e-3, "-2.5e-03"},
      {0.0, "0e+00"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(calc::SpiceNumber(value), text) << value;
    EXPECT_EQ(std::string(text).find_first_of("MmKkGgTtUuNnPpFf"), std::string::npos);
  }
}

}  // namespace

// The parts of the tolerance analysis that run on the response model with an op-amp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "calc/analysis/gain_envelope.h"
#include "calc/analysis/model_sensitivity.h"
#include "calc/analysis/response.h"
#include "calc/studies/tolerance_analysis.h"

namespace {

using calc::Circuit;
using calc::OpAmp;
using calc::Sensitivities;

const Circuit kDefaultDesign{11e3, 11e3, 22e3, 15e-9, 15e-9};
// Q of 22 at 22 kHz: a 1 MHz op-amp, far below the 2 Q^2 fo it would need, reshapes the
// response (fo's sensitivity to C1 drops from -1/2 to about -1/4).
const Circuit kHighQ{1.6e3, 1.6e3 / 9.0, 320e3, 1e-9, 1e-9};

// With an op-amp fast enough to change nothing, the measured figures are fo, Q and H, and
// so are their sensitivities, to the differences' accuracy.
TEST(ModelSensitivities, ApproachTheFormulasWithAFastOpAmp) {
  for (const Circuit& circuit :
       {kDefaultDesign, Circuit{5100, calc::kNoValue, 22e3, 15e-9, 15e-9}}) {
    const Sensitivities exact = calc::AnalyzeSensitivities(circuit);
    const Sensitivities model = calc::ModelSensitivities(circuit, OpAmp{1e9, 1e13});
    auto expect_near = [](const calc::PartSensitivities& a, const calc::PartSensitivities& b) {
      EXPECT_NEAR(a.R1, b.R1, 1e-6);
      EXPECT_NEAR(a.R3, b.R3, 1e-6);
      EXPECT_NEAR(a.C1, b.C1, 1e-6);
      EXPECT_NEAR(a.C2, b.C2, 1e-6);
      EXPECT_EQ(std::isnan(a.R2), std::isnan(b.R2));
      if (!std::isnan(a.R2)) {
        EXPECT_NEAR(a.R2, b.R2, 1e-6);
      }
      EXPECT_NEAR(b.Gbw, 0.0, 1e-6);
    };
    expect_near(exact.Fo, model.Fo);
    expect_near(exact.Q, model.Q);
    expect_near(exact.H, model.H);
  }
}

// Identities of the model itself. Scaling every resistor by k and every capacitor by 1/k
// leaves the response unchanged (the op-amp sees only voltages), so the resistors' and the
// capacitors' sensitivities sum alike. Scaling every capacitor by k and the GBW by 1/k
// scales the whole response to f / k: fo's capacitor sensitivities minus its GBW
// sensitivity sum to -1, Q's and H's to 0.
TEST(ModelSensitivities, ScalingIdentitiesHoldWithASlowOpAmp) {
  const Sensitivities s = calc::ModelSensitivities(kHighQ, OpAmp{100e3, 1e6});
  auto resistors = [](const calc::PartSensitivities& p) { return p.R1 + p.R2 + p.R3; };
  auto capacitors = [](const calc::PartSensitivities& p) { return p.C1 + p.C2; };
  EXPECT_NEAR(resistors(s.Fo), capacitors(s.Fo), 1e-6);
  EXPECT_NEAR(resistors(s.Q), capacitors(s.Q), 1e-6);
  EXPECT_NEAR(resistors(s.H), capacitors(s.H), 1e-6);
  EXPECT_NEAR(capacitors(s.Fo) - s.Fo.Gbw, -1.0, 1e-6);
  EXPECT_NEAR(capacitors(s.Q) - s.Q.Gbw, 0.0, 1e-6);
  EXPECT_NEAR(capacitors(s.H) - s.H.Gbw, 0.0, 1e-6);
  // A slow op-amp pulls the peak down: a faster one raises it.
  EXPECT_GT(s.Fo.Gbw, 1e-3);
}

std::vector<calc::Trial> Trials(const Circuit& nominal, const calc::PartValues& tolerances,
                                std::int64_t count) {
  calc::ToleranceSettings settings;
  settings.tolerances = tolerances;
  settings.trials = count;
  settings.seed = 11;
  return calc::RunMonteCarlo(nominal, settings)->trials;
}

TEST(ComputeGainEnvelope, ZeroTolerancesCollapseOntoTheNominalCurve) {
  const std::vector<calc::Trial> trials = Trials(kDefaultDesign, {0, 0, 0, 0, 0}, 100);
  const std::vector<double> f = calc::LogFrequencies(10, 100e3, 41);
  const OpAmp op_amp{100e3, 1e6};
  const auto envelope = calc::ComputeGainEnvelope(trials, op_amp, f);
  ASSERT_TRUE(envelope.ok());
  ASSERT_EQ(envelope->low_db.size(), f.size());
  for (std::size_t i = 0; i < f.size(); ++i) {
    const double nominal = calc::GainDb(calc::CircuitResponse(kDefaultDesign, op_amp, f[i]));
    // 10 log10 |h|^2 against 20 log10 |h|: the same to rounding.
    EXPECT_NEAR(envelope->low_db[i], nominal, 1e-12);
    EXPECT_EQ(envelope->median_db[i], envelope->low_db[i]);
    EXPECT_EQ(envelope->high_db[i], envelope->low_db[i]);
  }
}

TEST(ComputeGainEnvelope, SameEnvelopeOnAnyNumberOfThreadsAndOrderedBands) {
  const std::vector<calc::Trial> trials = Trials(kHighQ, calc::kDefaultTolerances, 2000);
  const std::vector<double> f = calc::LogFrequencies(1e3, 100e3, 61);
  const std::optional<OpAmp> op_amp = OpAmp{100e3, 1e6};
  const auto one = calc::ComputeGainEnvelope(trials, op_amp, f, 1);
  const auto two = calc::ComputeGainEnvelope(trials, op_amp, f, 2);
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->low_db, two->low_db);
  EXPECT_EQ(one->high_db, two->high_db);
  double widest = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    EXPECT_LE(one->low_db[i], one->median_db[i]);
    EXPECT_LE(one->median_db[i], one->high_db[i]);
    widest = std::max(widest, one->high_db[i] - one->low_db[i]);
  }
  // A Q of 10 with 5 % capacitors: the band is several dB wide near the peak.
  EXPECT_GT(widest, 1.0);
}

TEST(RunToleranceAnalysis, ReportsBothPhasesOnOneScaleAndKeepsTheQuickPartsWhenStopped) {
  calc::ToleranceSettings settings;
  settings.trials = 1000;
  settings.threads = 2;
  const std::vector<double> f = calc::LogFrequencies(100, 10e3, 50);
  std::int64_t last = -1, total_seen = 0;
  const auto analysis = calc::RunToleranceAnalysis(kDefaultDesign, settings, OpAmp{}, f,
                                                   [&](std::int64_t done, std::int64_t total) {
                                                     EXPECT_GE(done, last);
                                                     last = done;
                                                     total_seen = total;
                                                     return true;
                                                   });
  ASSERT_TRUE(analysis.ok());
  EXPECT_EQ(total_seen, 1000 + 1000 * 50);
  EXPECT_EQ(last, total_seen);
  EXPECT_TRUE(analysis->model_sensitivities.has_value());
  EXPECT_EQ(analysis->envelope.frequencies_hz.size(), 50u);
  EXPECT_EQ(analysis->monte_carlo.trials.size(), 1000u);

  // Stopped during the trials or during the envelope: the sensitivities and the worst
  // case are whole (those of the full run), the Monte Carlo part is marked stopped.
  for (const std::int64_t stop_at : {std::int64_t{500}, std::int64_t{2000}}) {
    SCOPED_TRACE(stop_at);
    const auto stopped =
        calc::RunToleranceAnalysis(kDefaultDesign, settings, calc::OpAmp{1e5, 1e6}, f,
                                   [&](std::int64_t done, std::int64_t) { return done < stop_at; });
    ASSERT_TRUE(stopped.ok());
    EXPECT_TRUE(stopped->monte_carlo_stopped);
    EXPECT_EQ(stopped->sensitivities.Fo.R1, analysis->sensitivities.Fo.R1);
    EXPECT_EQ(stopped->sensitivities.Q.C2, analysis->sensitivities.Q.C2);
    EXPECT_TRUE(stopped->model_sensitivities.has_value());
    EXPECT_EQ(stopped->worst_case.Fo.min, analysis->worst_case.Fo.min);
    EXPECT_EQ(stopped->worst_case.H.max, analysis->worst_case.H.max);
    EXPECT_TRUE(stopped->monte_carlo.trials.empty());
    EXPECT_TRUE(stopped->envelope.frequencies_hz.empty());
  }
  EXPECT_FALSE(analysis->monte_carlo_stopped);
}

}  // namespace

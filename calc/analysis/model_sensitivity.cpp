#include "calc/analysis/model_sensitivity.h"

#include <cmath>

#include "calc/circuit/band_pass.h"
#include "calc/circuit/circuit_parts.h"

namespace calc {
namespace {

// The three figures in logarithms: ln peak frequency, ln bandwidth Q, ln peak gain.
struct LogFigures {
  double fo, q, h;
};

LogFigures Measure(const Circuit& circuit, const OpAmp& op_amp, double guess_hz) {
  const ResponseFigures figures =
      MeasureResponse([&](double f) { return CircuitResponse(circuit, op_amp, f); }, guess_hz);
  // ln |h| = ln 10 / 20 * gain in dB.
  constexpr double kLn10Over20 = 2.302585092994046 / 20.0;
  return {std::log(figures.peak_hz), std::log(figures.q_bandwidth),
          figures.peak_gain_db * kLn10Over20};
}

}  // namespace

Sensitivities ModelSensitivities(const Circuit& circuit, const OpAmp& op_amp) {
  const double up = std::exp(kModelSensitivityStep), down = std::exp(-kModelSensitivityStep);
  const double guess_hz = Analyze(circuit).Fo;
  Sensitivities s;
  // Entry `entry` of each figure from the measurements at the raised and lowered values.
  auto store = [&](double PartSensitivities::*entry, const LogFigures& high,
                   const LogFigures& low) {
    const double span = 2.0 * kModelSensitivityStep;
    s.Fo.*entry = (high.fo - low.fo) / span;
    s.Q.*entry = (high.q - low.q) / span;
    s.H.*entry = (high.h - low.h) / span;
  };
  constexpr double PartSensitivities::*kEntries[kPartCount] = {
      &PartSensitivities::R1, &PartSensitivities::R2, &PartSensitivities::R3,
      &PartSensitivities::C1, &PartSensitivities::C2};
  for (int part = 0; part < kPartCount; ++part) {
    if (!HasPart(circuit, part)) continue;
    PartValues high = PartsOf(circuit), low = PartsOf(circuit);
    high[part] *= up;
    low[part] *= down;
    store(kEntries[part], Measure(CircuitOf(high), op_amp, guess_hz),
          Measure(CircuitOf(low), op_amp, guess_hz));
  }
  OpAmp faster = op_amp, slower = op_amp;
  faster.Gbw *= up;
  slower.Gbw *= down;
  store(&PartSensitivities::Gbw, Measure(circuit, faster, guess_hz),
        Measure(circuit, slower, guess_hz));
  return s;
}

}  // namespace calc

#include "calc/analysis/target_score.h"

#include <algorithm>
#include <cmath>

#include "calc/circuit/band_pass.h"
#include "calc/numeric/float_ops.h"

namespace calc {

TransferFunction CircuitFigures(const Circuit& circuit, const std::optional<OpAmp>& op_amp) {
  if (op_amp) {
    const ResponseFigures measured = MeasureCircuit(circuit, op_amp);
    return {measured.peak_hz, measured.q_bandwidth, std::pow(10.0, measured.peak_gain_db / 20)};
  }
  try {
    return Analyze(circuit);
  } catch (const FloatError&) {
    return {};
  }
}

TargetErrors ErrorsFrom(const TransferFunction& figures, const TransferFunction& target) {
  return {figures.Fo / target.Fo - 1.0, figures.Q / target.Q - 1.0, figures.H / target.H - 1.0};
}

double Score(const TargetErrors& errors, const Allowances& allowances) {
  const double fo = std::fabs(errors.Fo) / allowances.Fo;
  const double q = std::fabs(errors.Q) / allowances.Q;
  const double h = std::fabs(errors.H) / allowances.H;
  if (std::isnan(fo) || std::isnan(q) || std::isnan(h)) return kNoValue;
  return std::max({fo, q, h});
}

double TieBreak(const TargetErrors& errors, const Allowances& allowances) {
  const double fo = errors.Fo / allowances.Fo;
  const double q = errors.Q / allowances.Q;
  const double h = errors.H / allowances.H;
  return fo * fo + q * q + h * h;
}

bool WithinAllowances(const TargetErrors& errors, const Allowances& allowances) {
  return std::fabs(errors.Fo) <= allowances.Fo && std::fabs(errors.Q) <= allowances.Q &&
         std::fabs(errors.H) <= allowances.H;
}

ScaledErrorRange ScaledErrorWithin(double figure, double target, double allowance, double margin) {
  // figure (1 + m) / target - 1 = e + (1 + e) m, and 1 + e = figure / target >= 0.
  const double ratio = figure / target;
  const double error = std::fabs(ratio - 1.0);
  const double spread = std::fabs(ratio) * margin;
  return {std::max(0.0, error - spread) / allowance, (error + spread) / allowance};
}

}  // namespace calc

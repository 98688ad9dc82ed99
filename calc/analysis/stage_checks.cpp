#include "calc/analysis/stage_checks.h"

#include <algorithm>
#include <cmath>

namespace calc {
namespace {

bool Positive(double value) { return value > 0 && std::isfinite(value); }

}  // namespace

std::optional<Diagnostic> CheckStage(const Circuit& circuit, const std::optional<OpAmp>& op_amp) {
  const bool parts = Positive(circuit.R1) && (!circuit.HasR2() || Positive(circuit.R2)) &&
                     Positive(circuit.R3) && Positive(circuit.C1) && Positive(circuit.C2);
  if (!parts) return Diagnostic{Problem::kStageParts, {}};
  if (op_amp && !(Positive(op_amp->A0) && Positive(op_amp->Gbw) && op_amp->Cin >= 0 &&
                  std::isfinite(op_amp->Cin))) {
    return Diagnostic{Problem::kOpAmpFigures, {}};
  }
  return std::nullopt;
}

std::optional<Diagnostic> CheckFrequencies(std::span<const double> frequencies_hz) {
  if (std::all_of(frequencies_hz.begin(), frequencies_hz.end(), Positive)) return std::nullopt;
  return Diagnostic{Problem::kAnalysisFrequencies, {}};
}

Outcome<ResponseFigures> MeasurePeak(const Circuit& circuit, const std::optional<OpAmp>& op_amp) {
  const ResponseFigures figures = MeasureCircuit(circuit, op_amp);
  if (!Positive(figures.peak_hz) || !std::isfinite(figures.peak_gain_db)) {
    return Diagnostic{Problem::kNoPeak, {}};
  }
  return figures;
}

}  // namespace calc

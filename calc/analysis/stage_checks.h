// The checks that the stage's analyses (noise, headroom) make on what they are given, each
// giving the diagnostic of the first fault it finds, so that every analysis refuses the
// same inputs with the same words.
#ifndef KORVANE_CALC_ANALYSIS_STAGE_CHECKS_H
#define KORVANE_CALC_ANALYSIS_STAGE_CHECKS_H

#include <optional>
#include <span>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"
#include "calc/text/diagnostic.h"
#include "calc/text/outcome.h"

namespace calc {

// Every part a positive number (R2 may be left out), and an op-amp, when there is one, with
// a positive A0 and Gbw and a Cin of zero or more (kStageParts, kOpAmpFigures).
std::optional<Diagnostic> CheckStage(const Circuit& circuit, const std::optional<OpAmp>& op_amp);

// Every frequency positive and finite (kAnalysisFrequencies).
std::optional<Diagnostic> CheckFrequencies(std::span<const double> frequencies_hz);

// The response's figures with `op_amp`, or kNoPeak when it has no peak to measure.
Outcome<ResponseFigures> MeasurePeak(const Circuit& circuit, const std::optional<OpAmp>& op_amp);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_STAGE_CHECKS_H

#include "calc/commands/command_messages.h"

#include <cmath>

namespace calc {

std::u16string_view AnalysisInputWarning(const Circuit& circuit) {
  if (std::isnan(circuit.R1) || std::isnan(circuit.C1) || std::isnan(circuit.C2) ||
      std::isnan(circuit.R3)) {
    return kMissingComponentWarning;
  }
  return {};
}

double GainOrUnity(double typed_h) { return std::isnan(typed_h) ? 1.0 : typed_h; }

std::u16string_view DesignTargetWarning(double Fo, double Q) {
  if (std::isnan(Fo)) return kFoMissingWarning;
  if (std::isnan(Q)) return kQMissingWarning;
  if (Fo <= 0.0 || Q <= 0.0) return kNotPositiveWarning;
  return {};
}

}  // namespace calc

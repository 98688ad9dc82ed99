// Sensitivities of the figures measured on the circuit's response with a real op-amp.
#ifndef KORVANE_CALC_ANALYSIS_MODEL_SENSITIVITY_H
#define KORVANE_CALC_ANALYSIS_MODEL_SENSITIVITY_H

#include "calc/analysis/response.h"
#include "calc/analysis/sensitivity.h"
#include "calc/circuit/circuit.h"

namespace calc {

// The step of ModelSensitivities' differences in ln x. The difference's truncation error
// grows as step^2 and the measured figures' own resolution (about 1e-10 relative: the peak
// and the -3 dB points are bisected to adjacent doubles) is amplified by 1/step; at 1e-3
// both stay near 1e-9, far below the digits shown. (On a Q of 22 with a slow op-amp, steps
// from 3e-4 to 1e-3 agree to 2e-9; 5e-3 is off by 3e-8, 2e-2 by 5e-7.)
inline constexpr double kModelSensitivityStep = 1e-3;

// The sensitivities d ln y / d ln x of the figures MeasureResponse finds on the circuit's
// response with `op_amp` (peak frequency in Fo, bandwidth Q in Q, peak gain as a ratio in
// H) to each part and to the op-amp's Gbw. No formula exists for these, so each is a
// central difference of the model with the part scaled by exp(+-kModelSensitivityStep).
// With a fast op-amp they approach AnalyzeSensitivities'. A figure that cannot be
// measured at a step gives no value. The parts must be positive.
Sensitivities ModelSensitivities(const Circuit& circuit, const OpAmp& op_amp);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_MODEL_SENSITIVITY_H

// What the stage does inside, at one frequency: the voltages of its inner nodes per volt in,
// the current its op-amp drives, and how each noise source inside reaches the output. All
// come from the node equations of CircuitResponse and its op-amp model, so the noise and
// the headroom are the same circuit as the curves.
#ifndef KORVANE_CALC_ANALYSIS_STAGE_TRANSFERS_H
#define KORVANE_CALC_ANALYSIS_STAGE_TRANSFERS_H

#include <complex>
#include <optional>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"

namespace calc {

struct StageTransfers {
  std::complex<double> output;           // Vout / Vin: CircuitResponse
  std::complex<double> summing_node;     // Va / Vin
  std::complex<double> inverting_input;  // V- / Vin
  // The current the op-amp's output drives into C1 and R3 per volt in (siemens); a load
  // adds Vout / R_load.
  std::complex<double> feedback_current;
  // Vout per ampere driven into the summing node (R1's and R2's noise currents), per ampere
  // into the inverting input (R3's noise current and the op-amp's current noise), in ohms,
  // and per volt in series with the non-inverting input (the op-amp's voltage noise).
  std::complex<double> per_summing_current;
  std::complex<double> per_inverting_current;
  std::complex<double> per_input_voltage;
};

// The transfers of `circuit` with `op_amp` (ideal without one) at `frequency_hz` (> 0).
StageTransfers ComputeStageTransfers(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                     double frequency_hz);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_STAGE_TRANSFERS_H

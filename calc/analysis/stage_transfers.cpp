#include "calc/analysis/stage_transfers.h"

#include "calc/circuit/band_pass.h"

namespace calc {

StageTransfers ComputeStageTransfers(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                     double frequency_hz) {
  using Complex = std::complex<double>;
  const Complex s(0.0, kTwoPi * frequency_hz);
  const double y1 = 1.0 / circuit.R1, y2 = circuit.HasR2() ? 1.0 / circuit.R2 : 0.0;
  const double y3 = 1.0 / circuit.R3;
  const Complex yc1 = s * circuit.C1, yc2 = s * circuit.C2;
  const Complex ycin = op_amp ? s * op_amp->Cin : 0.0;

  StageTransfers t;
  t.output = CircuitResponse(circuit, op_amp, frequency_hz);
  t.inverting_input = InvertingInputPerOutput(op_amp, frequency_hz) * t.output;
  // Kirchhoff at the inverting input: what C2 brings in from the summing node leaves
  // through R3 to the output and through Cin to ground.
  t.summing_node =
      t.inverting_input + (y3 * (t.inverting_input - t.output) + ycin * t.inverting_input) / yc2;
  t.feedback_current = yc1 * (t.output - t.summing_node) + y3 * (t.output - t.inverting_input);

  // With Vin = 0, R1 joins the summing node to ground, so the input's drive through R1 is
  // the current Vin / R1 into that node: a current there gives R1 Vout / Vin. By Cramer's
  // rule on CircuitResponse's two equations, Vout / Vin = y1 yc2 / D and a current into the
  // inverting input gives (y1 + y2 + yc1 + yc2) / D, so D need not be formed again.
  t.per_summing_current = t.output / y1;
  t.per_inverting_current = t.output * ((y1 + y2 + yc1 + yc2) / (y1 * yc2));
  // A voltage in series with the non-inverting input raises the inverting input by the
  // same voltage: every branch that meets there (C2, R3, Cin) then carries that voltage
  // times its admittance, out of the inverting input and into its other end. Into the
  // summing node that is yc2 e; into the output the op-amp absorbs it; into ground nothing.
  t.per_input_voltage = yc2 * t.per_summing_current - (yc2 + y3 + ycin) * t.per_inverting_current;
  return t;
}

}  // namespace calc

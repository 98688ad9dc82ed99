// The filter's frequency response: the circuit solved at each frequency with an ideal or a
// single-pole op-amp, the wanted (target) band-pass, and figures measured on a response.
#ifndef KORVANE_CALC_ANALYSIS_RESPONSE_H
#define KORVANE_CALC_ANALYSIS_RESPONSE_H

#include <complex>
#include <functional>
#include <optional>
#include <vector>

#include "calc/circuit/circuit.h"

namespace calc {

// An op-amp with open-loop gain A(s) = A0 / (1 + s A0 / (2 pi Gbw)): DC gain A0 (V/V) and
// gain-bandwidth product Gbw (Hz); Cin (F) is its input capacitance, differential plus
// common-mode, from the inverting input to ground (the non-inverting input is grounded).
struct OpAmp {
  double A0 = 100e3;
  double Gbw = 10e6;
  double Cin = 0;
};

// Vout / Vin of `circuit` at `frequency_hz` from the node equations (Kirchhoff at the
// summing node and at the inverting input, Vout = -A V-), in complex arithmetic. Without
// an op-amp the op-amp is ideal (A infinite). An R2 without a value is left out.
std::complex<double> CircuitResponse(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                     double frequency_hz);

// The ideal-op-amp closed form -(s/(R1 C1)) / (s^2 + s (C1+C2)/(R3 C1 C2) +
// (1/R1 + 1/R2)/(R3 C1 C2)); the 1/R2 term is absent without R2.
std::complex<double> ClosedFormResponse(const Circuit& circuit, double frequency_hz);

// The ideal second-order band-pass with centre frequency Fo, quality factor Q and centre
// gain H: -H (w0/Q) s / (s^2 + (w0/Q) s + w0^2).
std::complex<double> TargetResponse(const TransferFunction& target, double frequency_hz);

// A response as a function of frequency in hertz.
using Response = std::function<std::complex<double>(double)>;

// Gain in dB (20 log10 |h|) and phase in degrees in (-180, 180].
double GainDb(std::complex<double> h);
double PhaseDeg(std::complex<double> h);

// `points` frequencies spaced logarithmically from `from_hz` to `to_hz`, both included.
std::vector<double> LogFrequencies(double from_hz, double to_hz, int points);

// Figures measured on a response around `guess_hz` (the circuit's or target's fo): the
// peak refined to 1e-7 relative, the -3 dB frequencies either side of it, the bandwidth,
// the Q it implies (peak / bandwidth) and the phase at the peak. A figure that cannot be
// found (no -3 dB point within eight decades) has no value (NaN).
struct ResponseFigures {
  double peak_hz = kNoValue;
  double peak_gain_db = kNoValue;
  double low_3db_hz = kNoValue;
  double high_3db_hz = kNoValue;
  double bandwidth_hz = kNoValue;
  double q_bandwidth = kNoValue;
  double phase_at_peak_deg = kNoValue;
};
ResponseFigures MeasureResponse(const Response& response, double guess_hz);

// fo of the circuit's ideal closed form, sqrt((1/R1 + 1/R2) / (R3 C1 C2)) / 2 pi, in plain
// arithmetic (no value instead of an error on a circuit without one): where to look.
double NaturalFrequency(const Circuit& circuit);

// The figures of the circuit's response, with the op-amp or ideal.
ResponseFigures MeasureCircuit(const Circuit& circuit, const std::optional<OpAmp>& op_amp);

// The smallest Gbw (for op_amp.A0) at which the op-amp circuit's peak frequency, bandwidth
// Q and peak gain each stay within `tolerance` (0.01 = 1 %) of the ideal-op-amp circuit's,
// and stay so at every higher Gbw; no value when A0 alone breaks the tolerance.
double RequiredGbw(const Circuit& circuit, double a0, double tolerance);

// The slew rate in V/s that a sine of `input_amplitude` volts (peak) needs at the peak:
// 2 pi f_peak (input_amplitude |H(f_peak)|).
double RequiredSlewRate(double peak_hz, double peak_gain_db, double input_amplitude);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_RESPONSE_H

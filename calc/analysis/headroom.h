// How large a signal the stage takes: the peak voltages at its nodes over frequency, the
// current its op-amp drives, and the largest input before the output clips or slews.
#ifndef KORVANE_CALC_ANALYSIS_HEADROOM_H
#define KORVANE_CALC_ANALYSIS_HEADROOM_H

#include <optional>
#include <span>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"
#include "calc/numeric/quantity.h"
#include "calc/text/diagnostic.h"
#include "calc/text/outcome.h"

namespace calc {

// What the op-amp's output can do on its supply.
struct OutputLimits {
  double supply_v = 30.0;  // the total span between the rails (30: +-15 V)
  // How near the output gets to the negative and to the positive rail; 0: rail to rail.
  double swing_low_v = 0.0, swing_high_v = 0.0;
  double slew_v_per_s = kNoValue;      // no value: no slew limit
  double output_current_a = kNoValue;  // no value: not known, so not checked
};

// The peak of the largest sine the output gives unclipped. The output rests at mid-supply
// (the non-inverting input is grounded, the rails symmetric about it), so the nearer rail
// less its swing bounds the sine: supply / 2 - max(swing_low, swing_high). No value when
// that leaves nothing, or the figures are not numbers of volts at or above zero.
// LargestOutputPeak({30, 1.5, 1.5}) -> 13.5; LargestOutputPeak({30, 1, 2}) -> 13;
// LargestOutputPeak({5, 0, 0}) -> 2.5; LargestOutputPeak({2, 1, 1}) -> no value.
double LargestOutputPeak(const OutputLimits& limits);

struct HeadroomSettings {
  double input_amplitude_v = 1.0;  // the input sine's peak
  double load_ohm = 10e3;          // from the output to ground
  OutputLimits output;
};

// The limit on the input that binds first.
enum class HeadroomLimit { kSwing, kSlew };

struct Headroom {
  // Over the frequencies asked, the peak voltage at the output, the summing node and the
  // inverting input for the input amplitude.
  std::vector<double> frequencies_hz;
  std::vector<double> output_v, summing_node_v, inverting_input_v;

  // The largest of each over all frequencies (sought within eight decades of fo), and the
  // frequency of the output's: the response's peak.
  double peak_hz = kNoValue;
  double peak_output_v = kNoValue;
  double peak_summing_node_v = kNoValue;
  double peak_inverting_input_v = kNoValue;

  // The peak current the output drives at peak_hz into C1, R3 and the load, and whether the
  // op-amp's output current covers it (nullopt when that is not known).
  double peak_output_current_a = kNoValue;
  std::optional<bool> current_within;

  // The largest input peak the output takes before it clips (LargestOutputPeak / |H(peak)|)
  // and before it slews (slew / (2 pi f_peak |H(peak)|); no value without a slew rate), the
  // smaller of the two, and which one that is (the swing when both are the same).
  double swing_limit_v = kNoValue;
  double slew_limit_v = kNoValue;
  double max_input_v = kNoValue;
  HeadroomLimit limit = HeadroomLimit::kSwing;

  // A warning for each limit the input amplitude exceeds (kInputClips, kInputSlews) and for
  // a current beyond the op-amp's (kOutputCurrentShort), in that order.
  std::vector<Diagnostic> warnings;
};

// The headroom of `circuit` with `op_amp` (ideal without one) for `settings`, the curves at
// `frequencies_hz`. An amplitude or load that is not positive, output limits that leave the
// output no room (LargestOutputPeak), a slew rate or output current given but not positive,
// a frequency that is not positive, an op-amp whose A0 or Gbw is not positive or whose Cin
// is negative, or a circuit without a peak give their diagnostic instead.
Outcome<Headroom> AnalyzeHeadroom(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                  const HeadroomSettings& settings,
                                  std::span<const double> frequencies_hz);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_HEADROOM_H

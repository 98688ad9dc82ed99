// The sets of preferred values the joint search looks at: capacitor pairs around the
// design command's own, and for each pair the preferred resistors around the values that
// make it hit the target exactly. Every part is the value its text gives (DisplayedValue):
// the set the window writes into its fields is the very set that was scored.
#ifndef KORVANE_CALC_STUDIES_SEARCH_SPACE_H
#define KORVANE_CALC_STUDIES_SEARCH_SPACE_H

#include <cstdint>
#include <optional>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"
#include "calc/circuit/circuit.h"

namespace calc {

// The resistors a capacitor pair's candidates centre on: ExactResistors with an ideal
// op-amp, CompensatedResistors with a model. No value where the pair has none (with a
// model, where the op-amp cannot reach the target; with either, where a value faults).
std::optional<Circuit> ContinuousResistors(const TransferFunction& target, double C1, double C2,
                                           const std::optional<OpAmp>& op_amp);

// `circuit` with each part as its text gives it (DisplayedValue); an absent R2 stays absent.
// (22000, 680, 180000, 1.4999999999999492e-09, ...) -> (22000, 680, 180000, 1.5e-09, ...).
Circuit WrittenCircuit(const Circuit& circuit);

// One capacitor pair and its resistor candidates, each list rising. R2 is empty where the
// continuous design has none.
struct SearchPair {
  Circuit continuous;  // the pair's C1 and C2 with its continuous resistors
  std::vector<double> R1, R2, R3;

  std::int64_t SetCount() const;
  // Set `index` (0 ... SetCount() - 1) of the pair: R3 steps fastest, then R2, then R1.
  Circuit Set(std::int64_t index) const;
};

struct SearchSpace {
  std::vector<double> C1, C2;     // the capacitor candidates, rising
  std::vector<SearchPair> pairs;  // C1 outer, C2 inner; the pairs with continuous resistors
  std::int64_t unsolved_pairs = 0;

  std::int64_t SetCount() const;
};

// The search for `request` around `design`, the design command's set for it: C1 and C2
// each range over the design's value and the `steps` capacitor-series values on each side
// (SeriesNeighbours; C2 keeps its value when it is locked), every pair of them gets its
// continuous resistors, and each resistor ranges over SnapToSeries of its continuous value
// and the `steps` resistor-series values on each side. Each candidate is the value its text
// gives; one whose text gives no part (0, or beyond a double) is left out, and a pair left
// without a candidate for a part is unsolved. The pairs' resistors are worked out on
// `threads` threads (0: every hardware thread).
// Default design, E24 / E6, k = 1, ideal -> C1 and C2 each 10n, 15n, 22n; 9 pairs of 27 sets.
SearchSpace BuildSearchSpace(const DesignRequest& request, const Circuit& design, int steps,
                             const std::optional<OpAmp>& op_amp, int threads);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_SEARCH_SPACE_H

#include "calc/analysis/op_amp_needs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/analysis/response.h"
#include "calc/numeric/boundary_search.h"

namespace calc {

double RequiredA0(const Circuit& circuit, double tolerance, double cin) {
  const ResponseFigures ideal = MeasureCircuit(circuit, std::nullopt);
  if (std::isnan(ideal.q_bandwidth) || !(tolerance >= 0) || !(cin >= 0)) return kNoValue;
  const auto holds = [&](double a0) {
    const OpAmp flat{a0, std::numeric_limits<double>::infinity(), cin};
    return WithinTolerance(MeasureCircuit(circuit, flat), ideal, tolerance);
  };
  // The gain's error is about the noise gain (at most some Q^2 H) over A0: far above that,
  // every A0 holds; a follower's gain of one is as low as an A0 goes.
  const double start = 1e6 * std::max(1.0, ideal.q_bandwidth * ideal.q_bandwidth) *
                       std::max(1.0, std::pow(10.0, ideal.peak_gain_db / 20)) *
                       (1.0 + cin / circuit.C2);
  return LowestHoldingFromAbove(holds, start, 1.0);
}

}  // namespace calc

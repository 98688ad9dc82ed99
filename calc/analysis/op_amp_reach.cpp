#include "calc/analysis/op_amp_reach.h"

#include <algorithm>
#include <cmath>

#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"
#include "calc/numeric/float_ops.h"

namespace calc {
namespace {

constexpr double kLowestQFraction = 1e-3;
constexpr double kQPrecision = 1e-3;

}  // namespace

OpAmpReach ReachOfOpAmp(const Circuit& circuit, const OpAmp& op_amp, double tolerance) {
  OpAmpReach reach;
  TransferFunction own;
  try {
    own = Analyze(circuit);
  } catch (const FloatError&) {
    return reach;
  }
  const double required = RequiredGbw(circuit, op_amp, tolerance);
  if (!(required > 0) || !std::isfinite(required)) return reach;
  reach.fo_at_q_hz = own.Fo * (op_amp.Gbw / required);

  // Serves: the circuit for Q' keeps within the tolerance on this op-amp.
  const auto serves = [&](double q) {
    try {
      const Circuit candidate = ExactResistors({own.Fo, q, own.H}, circuit.C1, circuit.C2);
      const double needed = RequiredGbw(candidate, op_amp, tolerance);
      return needed <= op_amp.Gbw;  // NaN: no
    } catch (const FloatError&) {
      return false;
    }
  };
  if (serves(own.Q)) {
    reach.q_at_fo = own.Q;
    return reach;
  }
  // Down in steps of a fifth until a Q serves (very low ones may not exist for this gain:
  // below sqrt(H / 2) with equal capacitors the gain needs no R2 and Q cannot be chosen),
  // then halved between it and the step above.
  double high = std::log(own.Q), low = high;
  const double lowest = std::log(own.Q * kLowestQFraction);
  do {
    high = low;
    low = std::max(low + std::log(0.8), lowest);
    if (serves(std::exp(low))) break;
  } while (low > lowest);
  if (!serves(std::exp(low))) return reach;
  while (high - low > kQPrecision) {
    const double middle = 0.5 * (low + high);
    (serves(std::exp(middle)) ? low : high) = middle;
  }
  reach.q_at_fo = std::exp(low);
  return reach;
}

}  // namespace calc

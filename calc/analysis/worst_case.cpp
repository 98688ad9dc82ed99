#include "calc/analysis/worst_case.h"

#include <algorithm>
#include <vector>

#include "calc/circuit/band_pass.h"

namespace calc {
namespace {

void Widen(Range& range, double value) {
  if (!(range.min <= value)) range.min = value;  // the first value replaces "no value"
  if (!(range.max >= value)) range.max = value;
}

void Widen(WorstCase& result, const TransferFunction& tf, bool with_fo_and_h) {
  if (with_fo_and_h) {
    Widen(result.Fo, tf.Fo);
    Widen(result.H, tf.H);
  }
  Widen(result.Q, tf.Q);
}

}  // namespace

WorstCase AnalyzeWorstCase(const Circuit& nominal, const PartValues& tolerances) {
  const PartValues parts = PartsOf(nominal);
  PartValues low{}, high{};
  std::vector<int> present;
  for (int part = 0; part < kPartCount; ++part) {
    low[part] = parts[part] * (1.0 - tolerances[part]);
    high[part] = parts[part] * (1.0 + tolerances[part]);
    if (HasPart(nominal, part)) present.push_back(part);
  }

  WorstCase result;
  const unsigned corners = 1u << present.size();
  for (unsigned corner = 0; corner < corners; ++corner) {
    PartValues values = parts;
    for (std::size_t bit = 0; bit < present.size(); ++bit) {
      const int part = present[bit];
      values[part] = (corner >> bit) & 1u ? high[part] : low[part];
    }
    Widen(result, Analyze(CircuitOf(values)), true);
  }

  // Q depends on the capacitors only through C1/C2, through sqrt(r) / (1 + r) with
  // r = C1/C2, which is largest at r = 1; any common value of both bands gives r = 1.
  const double common = std::max(low[kC1], low[kC2]);
  if (common <= std::min(high[kC1], high[kC2])) {
    for (unsigned corner = 0; corner < corners; ++corner) {
      PartValues values = parts;
      bool capacitor_bit_set = false;
      for (std::size_t bit = 0; bit < present.size(); ++bit) {
        const int part = present[bit];
        const bool upper = (corner >> bit) & 1u;
        if (IsResistor(part)) {
          values[part] = upper ? high[part] : low[part];
        } else {
          capacitor_bit_set = capacitor_bit_set || upper;
          values[part] = common;
        }
      }
      if (capacitor_bit_set) continue;  // the same resistor corner seen already
      Widen(result, Analyze(CircuitOf(values)), false);
    }
  }
  return result;
}

}  // namespace calc

#include "calc/studies/search_space.h"

#include <cmath>

#include "calc/analysis/compensation.h"
#include "calc/circuit/preferred_values.h"
#include "calc/numeric/float_ops.h"
#include "calc/numeric/parallel_for.h"
#include "calc/text/displayed_value.h"

namespace calc {
namespace {

// The values as their texts give them, rising as they came. A value whose text gives no
// part (below a thousandth of a picofarad it reads as 0) is left out, and values whose
// texts coincide are one candidate: the list holds distinct parts a designer can type.
std::vector<double> Written(const std::vector<double>& values) {
  std::vector<double> written;
  written.reserve(values.size());
  for (const double value : values) {
    const double part = DisplayedValue(value);
    if (std::isfinite(part) && part > 0.0 && (written.empty() || written.back() != part)) {
      written.push_back(part);
    }
  }
  return written;
}

// A resistor's candidates: its preferred value and the neighbours either side.
std::vector<double> ResistorCandidates(double continuous, std::int32_t series, int steps) {
  return Written(SeriesNeighbours(SnapToSeries(continuous, series), series, steps));
}

}  // namespace

Circuit WrittenCircuit(const Circuit& circuit) {
  return {DisplayedValue(circuit.R1), DisplayedValue(circuit.R2), DisplayedValue(circuit.R3),
          DisplayedValue(circuit.C1), DisplayedValue(circuit.C2)};
}

std::optional<Circuit> ContinuousResistors(const TransferFunction& target, double C1, double C2,
                                           const std::optional<OpAmp>& op_amp) {
  if (op_amp) return CompensatedResistors(target, C1, C2, *op_amp);
  try {
    return ExactResistors(target, C1, C2);
  } catch (const FloatError&) {
    return std::nullopt;
  }
}

std::int64_t SearchPair::SetCount() const {
  const auto r2 = static_cast<std::int64_t>(R2.empty() ? 1 : R2.size());
  return static_cast<std::int64_t>(R1.size()) * r2 * static_cast<std::int64_t>(R3.size());
}

Circuit SearchPair::Set(std::int64_t index) const {
  const auto n3 = static_cast<std::int64_t>(R3.size());
  const auto n2 = static_cast<std::int64_t>(R2.empty() ? 1 : R2.size());
  Circuit set = continuous;
  set.R3 = R3[static_cast<std::size_t>(index % n3)];
  index /= n3;
  set.R2 = R2.empty() ? kNoValue : R2[static_cast<std::size_t>(index % n2)];
  set.R1 = R1[static_cast<std::size_t>(index / n2)];
  return set;
}

std::int64_t SearchSpace::SetCount() const {
  std::int64_t count = 0;
  for (const SearchPair& pair : pairs) count += pair.SetCount();
  return count;
}

SearchSpace BuildSearchSpace(const DesignRequest& request, const Circuit& design, int steps,
                             const std::optional<OpAmp>& op_amp, int threads) {
  SearchSpace space;
  space.C1 = Written(SeriesNeighbours(design.C1, request.SeriesC, steps));
  space.C2 =
      Written(std::isnan(request.LockedC2) ? SeriesNeighbours(design.C2, request.SeriesC, steps)
                                           : std::vector<double>{design.C2});
  const TransferFunction target{request.Fo, request.Q, request.H};
  const auto pair_count = static_cast<std::int64_t>(space.C1.size() * space.C2.size());
  std::vector<std::optional<SearchPair>> pairs(static_cast<std::size_t>(pair_count));
  ParallelFor(pair_count, 1, threads, [&](std::int64_t begin, std::int64_t end) {
    for (std::int64_t i = begin; i < end; ++i) {
      const double C1 = space.C1[static_cast<std::size_t>(i) / space.C2.size()];
      const double C2 = space.C2[static_cast<std::size_t>(i) % space.C2.size()];
      const std::optional<Circuit> continuous = ContinuousResistors(target, C1, C2, op_amp);
      if (!continuous) continue;
      try {
        SearchPair pair{*continuous,
                        ResistorCandidates(continuous->R1, request.SeriesR, steps),
                        {},
                        ResistorCandidates(continuous->R3, request.SeriesR, steps)};
        if (continuous->HasR2()) {
          pair.R2 = ResistorCandidates(continuous->R2, request.SeriesR, steps);
        }
        // A list left empty has no part to offer (an empty R2 would read as none).
        if (pair.R1.empty() || pair.R3.empty() || (continuous->HasR2() && pair.R2.empty())) {
          continue;
        }
        pairs[static_cast<std::size_t>(i)] = std::move(pair);
      } catch (const FloatError&) {
        // Resistors beyond what the series can be scaled to: no candidates.
      }
    }
  });
  for (std::optional<SearchPair>& pair : pairs) {
    if (pair) {
      space.pairs.push_back(*std::move(pair));
    } else {
      ++space.unsolved_pairs;
    }
  }
  return space;
}

}  // namespace calc

// Finding where a condition that holds for large values stops holding.
#ifndef KORVANE_CALC_NUMERIC_BOUNDARY_SEARCH_H
#define KORVANE_CALC_NUMERIC_BOUNDARY_SEARCH_H

#include <cmath>

#include "calc/numeric/quantity.h"

namespace calc {

// The lowest value down from `start` above which `holds` (a callable from a positive double
// to bool) is true throughout: steps down from `start` by a factor of 1.25 until it fails,
// then bisects the last step in the logarithm to a relative 1e-9, returning the value on
// the holding side. Scanning rather than bisecting the whole range finds the highest such
// boundary even where `holds` turns more than once further down. A start that does not
// hold yet is raised by 16 at a time, at most 40 times (a start guessed too low); no value
// when it never holds. The last value that held when the steps pass below `floor` without
// a failure. For holds = (x >= 3): LowestHoldingFromAbove(holds, 100, 1e-6) -> 3 within
// 1e-9, and so from a start of 1.
template <typename Holds>
double LowestHoldingFromAbove(Holds&& holds, double start, double floor) {
  constexpr double kScanFactor = 1.25;
  constexpr double kRaiseFactor = 16.0;
  constexpr int kMostRaises = 40;
  double passing = start;
  for (int raises = 0; !holds(passing); ++raises) {
    if (raises == kMostRaises) return kNoValue;
    passing *= kRaiseFactor;
  }
  double failing = passing / kScanFactor;
  while (holds(failing)) {
    passing = failing;
    failing /= kScanFactor;
    if (failing < floor) return passing;  // never breaks
  }
  while (passing / failing > 1.0 + 1e-9) {
    const double mid = std::sqrt(passing * failing);
    if (holds(mid)) {
      passing = mid;
    } else {
      failing = mid;
    }
  }
  return passing;
}

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_BOUNDARY_SEARCH_H

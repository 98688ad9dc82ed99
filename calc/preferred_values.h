// Preferred values (E-series), generated from the series size each time: no tables.
#ifndef KORVANE_CALC_PREFERRED_VALUES_H
#define KORVANE_CALC_PREFERRED_VALUES_H

#include <cstdint>

namespace calc {

// The i-th value of the size-n series in the decade [1, 10), counted from 1.0 at i = 0;
// i may step outside 0 .. n - 1. n != 0.
// SeriesValue(10, 24) -> 2.7; SeriesValue(127, 192) -> 4.58; SeriesValue(-1, 6) -> 0.7.
double SeriesValue(std::int64_t i, std::int32_t n);

// The size-n series value nearest x on a logarithmic scale, in x's decade and with its
// sign. x == 0 or n == 0 returns x. Floating-point faults raise FloatError.
// SnapToSeries(5.30516e3, 24) -> 5100; SnapToSeries(-5.0, 6) -> -4.7;
// SnapToSeries(1.5915494309189534e-08, 6) -> 1.4999999999999492e-08.
double SnapToSeries(double x, std::int32_t n);

}  // namespace calc

#endif  // KORVANE_CALC_PREFERRED_VALUES_H

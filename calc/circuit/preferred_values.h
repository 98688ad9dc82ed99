// Preferred values (E-series), generated from the series size each time: no tables.
#ifndef KORVANE_CALC_CIRCUIT_PREFERRED_VALUES_H
#define KORVANE_CALC_CIRCUIT_PREFERRED_VALUES_H

#include <cstdint>
#include <vector>

namespace calc {

// The i-th value of the size-n series, counted from 1.0 at i = 0 (10.0 at i = n); i may
// step outside 0 .. n - 1. n != 0. Sizes above 24 give three significant digits, all
// others (negative ones too) two, with the customary values of E3 .. E24.
// SeriesValue(10, 24) -> 2.7; SeriesValue(127, 192) -> 4.58; SeriesValue(-1, 6) -> 0.7.
// Far outside the decade the value underflows to 0 or raises FloatError (overflow).
double SeriesValue(std::int64_t i, std::int32_t n);

// The size-n series value nearest x on a logarithmic scale, in x's decade and with its
// sign. x == 0 or n == 0 returns x. Any 32-bit n works; a negative n counts the series
// the other way and always lands one step away from x. Floating-point faults (x so small
// that its decade's scale underflows, a result beyond the double range) raise FloatError.
// SnapToSeries(5.30516e3, 24) -> 5100; SnapToSeries(-5.0, 6) -> -4.7;
// SnapToSeries(1.5915494309189534e-08, 6) -> 1.4999999999999492e-08.
double SnapToSeries(double x, std::int32_t n);

// `centre` and the `steps` size-n series values on each side of it, rising, through
// decades. A centre within a billionth of a series value counts as that value (its
// neighbours are the next ones); a centre between two has the lower as its first below and
// the upper as its first above. The values are those SnapToSeries gives for them, to a
// few parts in 1e14 (at a decade's start it gives 10 x the lower scale or 1 x the upper).
// A centre that is not positive and finite, n <= 0 or steps <= 0 give the centre alone.
// Floating-point faults raise FloatError as in SnapToSeries.
// SeriesNeighbours(4700, 24, 2) -> 3900, 4300, 4700, 5100, 5600;
// SeriesNeighbours(1000, 12, 1) -> 820, 1000, 1200;
// SeriesNeighbours(12e-9, 6, 1) -> 10n, 12n, 15n.
std::vector<double> SeriesNeighbours(double centre, std::int32_t n, int steps);

}  // namespace calc

#endif  // KORVANE_CALC_CIRCUIT_PREFERRED_VALUES_H

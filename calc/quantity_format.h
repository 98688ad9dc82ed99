// Writing values as the fixed-width engineering texts shown in the result fields.
#ifndef KORVANE_CALC_QUANTITY_FORMAT_H
#define KORVANE_CALC_QUANTITY_FORMAT_H

#include <string>

namespace calc {

// Fixed-point text with `decimals` places, rounded half away from zero on an 18-digit
// decimal form of the value, filled with spaces on the left to `width` characters.
// FormatFixed(1.0625, 7, 3) -> "  1.063"; FormatFixed(277.7245, 7, 3) -> "277.724";
// FormatFixed(1e18, 7, 3) -> "  1E018" (magnitudes of 1e17 or more use the exponent form).
std::u16string FormatFixed(double value, int width, int decimals);

// A value with an SI prefix letter (p n u m k M G T or none) chosen before rounding.
// FormatQuantity(1591.549, 8, 3) -> "  1.592k"; FormatQuantity(0, 8, 3) -> "  0.000";
// FormatQuantity(999999.7, 8, 3) -> "1000.000k"; FormatQuantity(NaN, 8, 3) -> "".
std::u16string FormatQuantity(double value, int width, int decimals);

}  // namespace calc

#endif  // KORVANE_CALC_QUANTITY_FORMAT_H

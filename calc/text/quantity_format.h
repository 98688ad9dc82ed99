// Writing values as the fixed-width engineering texts shown in the result fields.
#ifndef KORVANE_CALC_TEXT_QUANTITY_FORMAT_H
#define KORVANE_CALC_TEXT_QUANTITY_FORMAT_H

#include <string>

namespace calc {

// Fixed-point text with `decimals` places, rounded half away from zero on an 18-digit
// decimal form of the value (at most 17 significant digits), filled with spaces on the left
// to `width` characters; a longer text is not cut. The full stop is the decimal separator,
// left out when there are no decimals. Magnitudes of 1e17 or more use the exponent form.
// Zero, and a negative value that rounds to zero, carry no minus sign.
// FormatFixed(1.0625, 7, 3) -> "  1.063"; FormatFixed(277.7245, 7, 3) -> "277.724";
// FormatFixed(1e18, 7, 3) -> "  1E018"; FormatFixed(-2.5, 0, 0) -> "-3".
// Out-of-range arguments are clamped: decimals to 0 .. 1000, width to at most 1024 (a
// negative width pads nothing). Infinities give "INF" and "-INF", NaN gives "NAN".
std::u16string FormatFixed(double value, int width, int decimals);

// A value with an SI prefix letter (p n u m k M G T or none) chosen before rounding: the
// number is FormatFixed(value / prefix, width - 1, decimals) and the letter follows it, so a
// text without a prefix is one character shorter. Magnitudes below 1e-9 stay in pico and
// from 1e12 on in tera; NaN (no value) gives the empty text, infinities "INF" and "-INF"
// without a letter.
// FormatQuantity(1591.549, 8, 3) -> "  1.592k"; FormatQuantity(0, 8, 3) -> "  0.000";
// FormatQuantity(999999.7, 8, 3) -> "1000.000k"; FormatQuantity(NaN, 8, 3) -> "".
std::u16string FormatQuantity(double value, int width, int decimals);

// The format of every value the window shows: eight characters, three decimals.
inline constexpr int kDisplayWidth = 8;
inline constexpr int kDisplayDecimals = 3;
// FormatQuantity in the display format: 0.9999999999999999 -> "1000.000m".
inline std::u16string FormatDisplayed(double value) {
  return FormatQuantity(value, kDisplayWidth, kDisplayDecimals);
}

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_QUANTITY_FORMAT_H

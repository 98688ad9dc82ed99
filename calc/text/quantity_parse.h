// Reading typed values: decimal numbers with an optional exponent and an optional SI
// prefix letter, ASCII or full-width, as a Japanese input method produces them.
#ifndef KORVANE_CALC_TEXT_QUANTITY_PARSE_H
#define KORVANE_CALC_TEXT_QUANTITY_PARSE_H

#include <cstdint>
#include <string_view>

namespace calc {

// The value of a typed quantity; NaN when the text holds no number. Never throws.
// A decimal number (full stop as the point, optional exponent) rounded to the nearest
// double, then an optional SI prefix letter, ASCII or full-width: p n u m k M g t, with P N
// U K G T, the Greek mu and the micro sign; only m and M differ by case. Commas and spaces
// are ignored anywhere, blanks and control characters at the ends; what follows the prefix
// letter is ignored, except digits right after it in resistor notation ("4k7", "4R7").
// ParseQuantity(u"4.7k") -> 4700; ParseQuantity(u"22n") -> 22 / 1e9 (exactly that quotient);
// ParseQuantity(u"4k7") -> 4700; ParseQuantity(u"1,000") -> 1000; ParseQuantity(u"k") -> NaN.
double ParseQuantity(std::u16string_view text);

// A series size typed or picked in a drop-down; 0 when the text is not an integer
// (so "∞" means no snapping). Never throws. Leading spaces and a sign are allowed, then
// decimal digits (within the int32 range) or up to eight significant hexadecimal digits
// after "$", "x" or "0x", read as a 32-bit pattern; nothing may follow the digits.
// ParseSeriesSize(u"24") -> 24; ParseSeriesSize(u"$18") -> 24; ParseSeriesSize(u"24 ") -> 0.
std::int32_t ParseSeriesSize(std::u16string_view text);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_QUANTITY_PARSE_H

// Reading typed values: decimal numbers with an optional exponent and an optional SI
// prefix letter, ASCII or full-width, as a Japanese input method produces them.
#ifndef KORVANE_CALC_QUANTITY_PARSE_H
#define KORVANE_CALC_QUANTITY_PARSE_H

#include <cstdint>
#include <string_view>

namespace calc {

// The value of a typed quantity; NaN when the text holds no number. Never throws.
// ParseQuantity(u"4.7k") -> 4700; ParseQuantity(u"22n") -> 22 / 1e9 (exactly that quotient);
// ParseQuantity(u"4k7") -> 4700; ParseQuantity(u"1,000") -> 1000; ParseQuantity(u"k") -> NaN.
double ParseQuantity(std::u16string_view text);

// A series size typed or picked in a drop-down; 0 when the text is not an integer
// (so "∞" means no snapping). Never throws.
// ParseSeriesSize(u"24") -> 24; ParseSeriesSize(u"$18") -> 24; ParseSeriesSize(u"24 ") -> 0.
std::int32_t ParseSeriesSize(std::u16string_view text);

}  // namespace calc

#endif  // KORVANE_CALC_QUANTITY_PARSE_H

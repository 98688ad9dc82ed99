// Values in a unit that carries its own SI prefix, such as a slew rate in V/µs: written
// without a second prefix ("0.250 V/µs", never "250.293m V/µs").
#ifndef KORVANE_CALC_TEXT_PREFIXED_UNIT_H
#define KORVANE_CALC_TEXT_PREFIXED_UNIT_H

#include <string>

namespace calc {

// Fixed-point (FormatFixed) with three decimals, or as many more as show three
// significant digits of a value below 0.1, up to 15; no value (NaN) gives the empty text.
// FormatPrefixedUnit(0.250293) -> "0.250"; FormatPrefixedUnit(13) -> "13.000";
// FormatPrefixedUnit(0.006061) -> "0.00606"; FormatPrefixedUnit(1234.5678) -> "1234.568".
std::u16string FormatPrefixedUnit(double value);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_PREFIXED_UNIT_H

// A quantity is a double in SI units (ohms, farads, hertz); the quiet NaN stands for "no
// value": an empty field, a text without a number, or an R2 that is left out.
#ifndef KORVANE_CALC_NUMERIC_QUANTITY_H
#define KORVANE_CALC_NUMERIC_QUANTITY_H

#include <limits>

namespace calc {

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_QUANTITY_H

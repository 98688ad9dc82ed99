// Reading a study's settings from the texts a user types, in the window's fields or on the
// command line: the rules both front ends apply, so that a text means the same in each.
#ifndef KORVANE_CALC_STUDIES_SETTING_TEXTS_H
#define KORVANE_CALC_STUDIES_SETTING_TEXTS_H

#include <string_view>

#include "calc/text/outcome.h"

namespace calc {

// `text` without the blanks (control characters, spaces, the ideographic space) at its ends.
// TrimBlanks(u" 1% ") -> u"1%".
std::u16string_view TrimBlanks(std::u16string_view text);

// A percentage as a fraction: a quantity text (ParseQuantity) with an optional "%" or "％"
// after it. A bare number is per cent too, in every tolerance field: "1" = "1%" = 0.01.
// Fails with kNotANumber when the text holds no number; the range is the caller's.
// ParsePercent(u"1%") -> 0.01; ParsePercent(u" 0.5 ％") -> 0.005; ParsePercent(u"5") -> 0.05;
// ParsePercent(u"0.01%") -> 0.0001; ParsePercent(u"%") -> kNotANumber.
Outcome<double> ParsePercent(std::u16string_view text);

// A positive, finite quantity (ParseQuantity): an op-amp's figures, an amplitude, a
// frequency. Fails with kNotPositive otherwise.
// ParsePositiveQuantity(u"10M") -> 1e7; ParsePositiveQuantity(u"0") -> kNotPositive.
Outcome<double> ParsePositiveQuantity(std::u16string_view text);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_SETTING_TEXTS_H

// Reading the response window's own fields and writing its figures.
#ifndef KORVANE_UI_RESPONSE_SETTINGS_TEXT_H
#define KORVANE_UI_RESPONSE_SETTINGS_TEXT_H

#include <string>
#include <string_view>

namespace ui {

// A tolerance as a fraction: a trailing "%" (ASCII or full-width) means percent, a bare
// number is the fraction itself; NaN when unreadable or not above zero.
// ParseTolerance(u"1%") -> 0.01; ParseTolerance(u"0.5 %") -> 0.005;
// ParseTolerance(u"0.01") -> 0.01; ParseTolerance(u"%") -> NaN.
double ParseTolerance(std::u16string_view text);

// A positive quantity as the main window reads it (SI prefixes); NaN otherwise.
// ParsePositive(u"10M") -> 1e7; ParsePositive(u"0") -> NaN.
double ParsePositive(std::u16string_view text);

// The relative error of `value` against `reference` in percent, three decimals, with the
// sign: PercentError(101, 100) -> "+1.000 %"; empty when either has no value or the
// reference is zero.
std::u16string PercentError(double value, double reference);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_SETTINGS_TEXT_H

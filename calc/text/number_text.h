// Numbers as files and scripts read them back: the shortest decimal text that converts to
// the same double, one writer for every CSV, JSON-adjacent and netlist-free export.
#ifndef KORVANE_CALC_TEXT_NUMBER_TEXT_H
#define KORVANE_CALC_TEXT_NUMBER_TEXT_H

#include <string>

namespace calc {

// Appends the shortest text that reads back as exactly `value` (std::to_chars' shortest
// form: digits, sign, point and exponent, never a blank or a comma, so a CSV field needs no
// quotes); no value (NaN) appends nothing, infinities "inf" and "-inf".
// 964.5754126781536 -> "964.5754126781536"; 1e-08 -> "1e-08"; 22000 -> "22000"; NaN -> "".
void AppendShortest(std::string& out, double value);

// The same text as a string.
std::string ShortestText(double value);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_NUMBER_TEXT_H

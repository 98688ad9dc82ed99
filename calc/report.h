// The short text report of the last calculation, for the clipboard and the printer.
#ifndef KORVANE_CALC_REPORT_H
#define KORVANE_CALC_REPORT_H

#include <string>

#include "calc/calc_state.h"
#include "calc/form.h"

namespace calc {

// The report built from state.DesignMode and the fields' current texts, copied verbatim
// (blanks included, nothing re-formatted); every line, the last one included, ends with
// CR LF. It reads nothing else (not Calculated) and cannot fail.
// Design, after the default design: "2nd BPF", "[Input data]", "fo = 1kHz   Q = 1.0",
// "R1 =  11.000kΩ  R2 =  11.000kΩ  R3 =  22.000kΩ", "C1 =  15.000nF   C2 =  15.000nF", "",
// "[Result data]", "fo = 964.575Hz   Q = 1000.000m   H=   1.000" (187 characters).
// Analysis: the same without the "fo = ... Q = ..." input line and with "F  C2 = ";
// an empty EditR2 gives "R2 = Ω".
std::u16string BuildReport(const Form& form, const CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_REPORT_H

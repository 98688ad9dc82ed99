// The short text report of the last calculation, for the clipboard and the printer.
#ifndef KORVANE_CALC_REPORT_H
#define KORVANE_CALC_REPORT_H

#include <string>

#include "calc/calc_state.h"
#include "calc/form.h"

namespace calc {

// The report built from state.DesignMode and the fields' current texts, copied verbatim;
// every line, the last one included, ends with CR LF.
std::u16string BuildReport(const Form& form, const CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_REPORT_H

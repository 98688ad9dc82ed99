// The analysis command ("伝達関数"): component texts in, fo, Q and H texts out.
#ifndef KORVANE_CALC_ANALYSIS_COMMAND_H
#define KORVANE_CALC_ANALYSIS_COMMAND_H

#include "calc/calc_state.h"
#include "calc/form.h"

namespace calc {

// Reads EditR1..EditC2, warns when R1, C1, C2 or R3 is missing, else writes EditFor,
// EditQr and EditHr; last, enables the output buttons exactly when results were shown.
// A FloatError propagates and leaves the output buttons untouched.
void ButtonTFClick(Form& form, CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_COMMAND_H

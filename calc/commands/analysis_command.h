// The analysis command ("伝達関数"): component texts in, fo, Q and H texts out.
#ifndef KORVANE_CALC_COMMANDS_ANALYSIS_COMMAND_H
#define KORVANE_CALC_COMMANDS_ANALYSIS_COMMAND_H

#include "calc/commands/calc_state.h"
#include "calc/commands/form.h"

namespace calc {

// Blanks EditFor, EditQr and EditHr, reads EditR1..EditC2 into `state`, warns when R1,
// C1, C2 or R3 holds no value (an empty R2 selects the circuit without R2), else writes
// the three results; last, enables the output buttons exactly when results were shown.
// A FloatError propagates from the faulting operation and leaves the buttons untouched.
// "11k" "11k" "22k" "15n" "15n" -> "964.575" "1000.000m" "  1.000", buttons enabled;
// "5.1k" "" "22k" "15n" "15n" -> "  1.002k" "  1.038" "  2.157";
// EditC1 "" -> warning "R1,R2,R3,C1,C2,C3 に値をセットしてください", buttons disabled.
void ButtonTFClick(Form& form, CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_COMMANDS_ANALYSIS_COMMAND_H

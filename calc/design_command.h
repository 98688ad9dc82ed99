// The design command ("定数計算"): wanted fo, Q, H, reference impedance and series sizes
// in; snapped components and the achieved fo, Q, H out.
#ifndef KORVANE_CALC_DESIGN_COMMAND_H
#define KORVANE_CALC_DESIGN_COMMAND_H

#include "calc/calc_state.h"
#include "calc/form.h"

namespace calc {

// The whole command; its last step enables the output buttons exactly when Calculated.
// A FloatError propagates and leaves the output buttons untouched.
void ButtonCalcClick(Form& form, CalcState& state);

// The steps of the command, in the order it runs them.
void RunDesign(Form& form, CalcState& state);
void ClearDesignResults(Form& form);
void ReadSeriesChoice(const Form& form, CalcState& state);
void ShowDesignResults(Form& form, const CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_DESIGN_COMMAND_H

// The design command ("定数計算"): wanted fo, Q, H, reference impedance and series sizes
// in; snapped components and the achieved fo, Q, H out.
#ifndef KORVANE_CALC_DESIGN_COMMAND_H
#define KORVANE_CALC_DESIGN_COMMAND_H

#include "calc/calc_state.h"
#include "calc/form.h"

namespace calc {

// The whole command: reads fo, Q and H (an empty H becomes 1 and its field "1.0"), warns
// on a missing or non-positive fo or Q before touching any result, else runs RunDesign;
// its last step enables the output buttons exactly when Calculated. A FloatError
// propagates from the faulting operation and leaves the output buttons untouched.
// Start-up texts ("1k", "1.0", "1.0", "10k", E24, E6) -> EditFor "964.575", EditQr
// "1000.000m", EditHr "  1.000", C1 = C2 " 15.000n", R1 = R2 " 11.000k", R3 " 22.000k";
// EditFo "0" -> warning "ゼロ以下の伝達関数パラメータは不正です", buttons disabled;
// EditH "0" -> FloatError "Floating point division by zero" after the results are blanked.
void ButtonCalcClick(Form& form, CalcState& state);

// Everything after the target checks: blanks the results, warns when EditStdR holds no
// value ("標準Zに値を入力してください"), reads the series sizes, chooses C2 (the typed one
// when Lock is ticked and it has a value), sets Calculated, designs and shows.
void RunDesign(Form& form, CalcState& state);
// Blanks EditFor, EditQr, EditHr, EditC1, EditC2 (unless Lock is ticked), EditR1, EditR2,
// EditR3, in that order.
void ClearDesignResults(Form& form);
// SeriesC from ComboBoxEC, then SeriesR from ComboBoxER: "24" -> 24, "∞" -> 0 (no snapping).
void ReadSeriesChoice(const Form& form, CalcState& state);
// Writes fo, Q, H, C1, C2, R1, R2, R3 in that order; an omitted R2 gives an empty EditR2.
// QResult 0.9999999999999999 -> EditQr "1000.000m"; C1 1.4999999999999492e-08 -> " 15.000n".
void ShowDesignResults(Form& form, const CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_DESIGN_COMMAND_H

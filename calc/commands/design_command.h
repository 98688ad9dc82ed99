// The design command ("定数計算"): wanted fo, Q, H, reference impedance and series sizes
// in; snapped components and the achieved fo, Q, H out.
#ifndef KORVANE_CALC_COMMANDS_DESIGN_COMMAND_H
#define KORVANE_CALC_COMMANDS_DESIGN_COMMAND_H

#include "calc/commands/calc_state.h"
#include "calc/commands/form.h"

namespace calc {

// The design command as the window runs it, over the value design (calc/circuit/band_pass.h).
// Reads fo, Q and H (an empty H becomes 1 and its field "1.0"); warns on a missing or
// non-positive fo or Q before touching any result; else blanks the results, warns when
// EditStdR holds no value ("標準Zに値を入力してください"), reads the series sizes ("∞" is
// 0: no snapping), chooses C2 (the typed one when Lock is ticked and it has a value), sets
// Calculated, designs, warns on a Q miss and writes fo, Q, H, C1, C2, R1, R2, R3. Its last
// step enables the output buttons exactly when Calculated. A FloatError propagates from
// the faulting operation and leaves the output buttons untouched.
// Start-up texts ("1k", "1.0", "1.0", "10k", E24, E6) -> EditFor "964.575", EditQr
// "1000.000m", EditHr "  1.000", C1 = C2 " 15.000n", R1 = R2 " 11.000k", R3 " 22.000k";
// EditFo "0" -> warning "ゼロ以下の伝達関数パラメータは不正です", buttons disabled;
// EditH "0" -> FloatError "Floating point division by zero" after the results are blanked.
void ButtonCalcClick(Form& form, CalcState& state);

}  // namespace calc

#endif  // KORVANE_CALC_COMMANDS_DESIGN_COMMAND_H

// The multiple-feedback band-pass formulas. Every operation is one checked double
// operation in the grouping written, since results are shown to the last digit.
#ifndef KORVANE_CALC_BAND_PASS_H
#define KORVANE_CALC_BAND_PASS_H

#include <cstdint>

#include "calc/calc_state.h"
#include "calc/form.h"

namespace calc {

// 2 pi as the double every formula uses: the angular frequency of fo is fo x kTwoPi.
inline constexpr double kTwoPi = 6.283185307179586;

// Stores FoResult, QResult and HResult (in that order) for the given circuit. R2 may be
// NaN (no R2): the formulas without R2 are used. Floating-point faults raise FloatError
// at the faulting operation; results stored before it stay.
// (11e3, 11e3, 22e3, 15e-9, 15e-9) -> 964.5754126781536, 0.9999999999999999, 1.0;
// (5100, NaN, 22e3, 15e-9, 15e-9) -> 1001.6879378924207, 1.0384755040678715, 2.15686...;
// R1 = 0 -> FloatError "Floating point division by zero".
void AnalyzeBandPass(CalcState& state, double R1, double R2, double R3, double C1, double C2);

// Chooses C1 from state.C2, computes R1, R2, R3, snaps them (R2 is left out, NaN, where
// the gain needs none or it would exceed 1000 R1), analyses the snapped circuit and warns
// through `form` when the achieved Q misses Q by more than 3 %, before anything is shown.
// C2 = 1.4999999999999492e-08, (1000, 1, 1, 24, 6) -> C1 = C2, R1 = R2 = 11000, R3 = 22000,
// QResult 0.9999999999999999, no warning; (1000, 2, 10, 24, 6) -> C1 10 nF, R1 3300, no R2,
// R3 51000, warning "Q値の誤差が大きい" CR LF "HまたはC2の値を微調整すると改善できます".
void DesignBandPass(Form& form, CalcState& state, double Fo, double Q, double H,
                    std::int32_t SeriesR, std::int32_t SeriesC);

}  // namespace calc

#endif  // KORVANE_CALC_BAND_PASS_H

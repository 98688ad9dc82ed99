// The checks and warning texts the two commands share with every other front end (the
// command-line tool), so that each says the same thing about the same input.
#ifndef KORVANE_CALC_COMMANDS_COMMAND_MESSAGES_H
#define KORVANE_CALC_COMMANDS_COMMAND_MESSAGES_H

#include <string_view>

#include "calc/circuit/circuit.h"

namespace calc {

inline constexpr std::u16string_view kMissingComponentWarning =
    u"R1,R2,R3,C1,C2,C3 に値をセットしてください";
inline constexpr std::u16string_view kFoMissingWarning = u"foに値を入力してください";
inline constexpr std::u16string_view kQMissingWarning = u"Qに値を入力してください";
inline constexpr std::u16string_view kNotPositiveWarning =
    u"ゼロ以下の伝達関数パラメータは不正です";
inline constexpr std::u16string_view kZrefMissingWarning = u"標準Zに値を入力してください";
inline constexpr std::u16string_view kQErrorWarning =
    u"Q値の誤差が大きい\r\nHまたはC2の値を微調整すると改善できます";

// What an empty gain field becomes: unity gain, and the field says so.
inline constexpr std::u16string_view kDefaultGainText = u"1.0";

// The centre gain the design works to: H as read, or unity gain when H has no value (an
// empty or unreadable field). The window, the command line and the response's target all
// read H this way. GainOrUnity(2.5) -> 2.5; GainOrUnity(kNoValue) -> 1; GainOrUnity(0) -> 0.
double GainOrUnity(double typed_h);

// The analysis needs R1, R3, C1 and C2; an R2 without a value selects the circuit
// without R2. Empty when the circuit can be analysed.
std::u16string_view AnalysisInputWarning(const Circuit& circuit);

// The design needs fo and Q, both positive (H has been given its default of 1 before).
// Checked in that order; empty when both are usable.
std::u16string_view DesignTargetWarning(double Fo, double Q);

}  // namespace calc

#endif  // KORVANE_CALC_COMMANDS_COMMAND_MESSAGES_H

// The short text report of the last calculation, for the clipboard, the printer and the
// command-line tool.
#ifndef KORVANE_CALC_COMMANDS_REPORT_H
#define KORVANE_CALC_COMMANDS_REPORT_H

#include <string>
#include <string_view>

#include "calc/circuit/band_pass.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/form.h"

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

// The five component texts as typed (analysis) or as shown (design results).
struct CircuitTexts {
  std::u16string R1, R2, R3, C1, C2;
};

// The design report from the targets as typed and the design's result, its values written
// as the window writes them (an R2 left out shows empty): the same text BuildReport gives
// after that design.
std::u16string BuildDesignReport(std::u16string_view fo_typed, std::u16string_view q_typed,
                                 const DesignResult& result);

// The analysis report from the component texts as typed and the analysis result.
std::u16string BuildAnalysisReport(const CircuitTexts& typed, const TransferFunction& result);

}  // namespace calc

#endif  // KORVANE_CALC_COMMANDS_REPORT_H

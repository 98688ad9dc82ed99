// The calculation state: what the last command read, computed and decided.
#ifndef KORVANE_CALC_COMMANDS_CALC_STATE_H
#define KORVANE_CALC_COMMANDS_CALC_STATE_H

#include <cstdint>

#include "calc/circuit/circuit.h"

namespace calc {

// One per program. Each command fills what it needs from the field texts afresh;
// NaN stands for "no value" (an empty field, or an R2 the design leaves out).
struct CalcState {
  double Fo = kNoValue, Q = kNoValue, H = kNoValue;  // wanted transfer function
  double R1 = kNoValue, R2 = kNoValue, R3 = kNoValue;
  double C1 = kNoValue, C2 = kNoValue;
  double FoResult = kNoValue, QResult = kNoValue, HResult = kNoValue;  // analysed last
  std::int32_t SeriesR = 0, SeriesC = 0;                               // 0: no snapping
  bool Calculated = false;  // the last command produced results
  bool DesignMode = false;  // the last command started was the design command
};

}  // namespace calc

#endif  // KORVANE_CALC_COMMANDS_CALC_STATE_H

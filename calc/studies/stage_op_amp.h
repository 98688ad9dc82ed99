// The op-amp a study of the stage is given, picked from the catalogue or typed, and the one
// rule that turns a catalogue part into the models the analyses use: what each figure
// becomes and what a blank figure means.
#ifndef KORVANE_CALC_STUDIES_STAGE_OP_AMP_H
#define KORVANE_CALC_STUDIES_STAGE_OP_AMP_H

#include <optional>
#include <string>

#include "calc/analysis/headroom.h"
#include "calc/analysis/noise.h"
#include "calc/analysis/response.h"
#include "calc/circuit/op_amp_part.h"
#include "calc/numeric/quantity.h"

namespace calc {

// The op-amp's figures in SI base units; no value (kNoValue) where the figure is not known.
struct StageOpAmp {
  std::string name;  // the catalogue part's, empty for typed figures
  double gbw_hz = kNoValue;
  double a0 = kNoValue;
  double cin_f = kNoValue;  // at the inverting input: differential plus common-mode
  double en_v_rthz = kNoValue, en_corner_hz = kNoValue;
  double in_a_rthz = kNoValue, in_corner_hz = kNoValue;
  double slew_v_per_s = kNoValue;
  double swing_low_v = kNoValue, swing_high_v = kNoValue;  // the output's distance from a rail
  double output_current_a = kNoValue;
  double supply_min_v = kNoValue, supply_max_v = kNoValue;  // the span it works on

  friend bool operator==(const StageOpAmp&, const StageOpAmp&) = default;
};

// The part's figures as the stage uses them. Cin is the differential and the common-mode
// capacitance added, both at the inverting input since the other input is grounded; one of
// them blank counts as zero beside the other, both blank leave Cin unknown.
// A TL072 row (3 MHz, 200k, 13 V/us, 18 nV, 0.01 pA, no Cin, 1.5 V from each rail, 40 mA)
// -> {3e6, 2e5, no Cin, 18e-9, no corner, 1e-14, no corner, 13e6, 1.5, 1.5, 0.04, 10, 30}.
StageOpAmp StageOpAmpOf(const OpAmpPart& part);

// `base` with every figure `typed` knows put in place of its own: the part a user picked,
// with the figures typed beside it taking precedence. The name stays the base's only when
// no figure changed.
StageOpAmp WithTypedFigures(StageOpAmp base, const StageOpAmp& typed);

// The single-pole model: needs the GBW and A0 (nullopt without either: the curves cannot
// use the op-amp); an unknown Cin counts as none.
std::optional<OpAmp> OpAmpModelOf(const StageOpAmp& op_amp);

// The noise sources: an unknown density is no such source, an unknown corner a white
// density (datasheets give a corner only where the 1/f rise matters).
OpAmpNoise OpAmpNoiseOf(const StageOpAmp& op_amp);

// The output on a supply of `supply_v` (the total span): an unknown swing counts as rail
// to rail, an unknown slew rate or output current as no limit.
OutputLimits OutputLimitsOf(const StageOpAmp& op_amp, double supply_v);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_STAGE_OP_AMP_H

// An op-amp as a catalogue lists it: the datasheet's typical figures, in SI base units. A
// figure the datasheet does not give has no value (kNoValue, or nullopt for the yes/no
// figures and the channel count): it is not known, which is not the same as zero.
#ifndef KORVANE_CALC_CIRCUIT_OP_AMP_PART_H
#define KORVANE_CALC_CIRCUIT_OP_AMP_PART_H

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/numeric/quantity.h"

namespace calc {

struct OpAmpPart {
  std::string name;  // parts are told apart by name, ASCII letters in either case alike
  std::string maker;
  std::optional<int> channels;
  std::string input_type;  // "bipolar", "jfet", "cmos", ... as written, or empty
  double gbw_hz = kNoValue;
  double a0 = kNoValue;                // V/V
  double slew_v_per_s = kNoValue;      // V/s (datasheets and the catalogue file: V/µs)
  double en_v_rthz = kNoValue;         // voltage noise at 1 kHz, V/√Hz
  double en_corner_hz = kNoValue;      // its 1/f corner
  double in_a_rthz = kNoValue;         // current noise at 1 kHz, A/√Hz
  double in_corner_hz = kNoValue;      // its 1/f corner
  double cin_diff_f = kNoValue;        // differential input capacitance, F
  double cin_cm_f = kNoValue;          // common-mode input capacitance, F
  double supply_min_v = kNoValue;      // the total supply span it works from ...
  double supply_max_v = kNoValue;      // ... and to, V
  double swing_low_v = kNoValue;       // how near the output gets to the negative rail ...
  double swing_high_v = kNoValue;      // ... and to the positive one, V
  double output_current_a = kNoValue;  // A
  std::optional<bool> rail_to_rail_in;
  std::optional<bool> rail_to_rail_out;
  std::string source;  // where the figures come from
};

// Whether two part names are the same part: equal but for the case of ASCII letters
// (part numbers are written "TL072" and "tl072" alike). SameOpAmpName("tl072", "TL072") ->
// true; SameOpAmpName("TL072", "TL072A") -> false.
bool SameOpAmpName(std::string_view a, std::string_view b);

// The part named `name` (SameOpAmpName), or nullptr.
const OpAmpPart* FindOpAmpPart(std::span<const OpAmpPart> parts, std::string_view name);

// For an unknown name, the closest names of `parts` to suggest: those within an edit
// distance (ASCII case ignored) of a third of the longer name, at least 2, nearest first
// and in catalogue order among equals, at most `count`. Over the catalogue's TL072, TL082
// and NE5532: "TL027" -> {"TL072", "TL082"}; "NE5523" -> {"NE5532"}; "LM741" -> {}.
std::vector<std::string> NearestOpAmpNames(std::span<const OpAmpPart> parts, std::string_view name,
                                           std::size_t count = 3);

}  // namespace calc

#endif  // KORVANE_CALC_CIRCUIT_OP_AMP_PART_H

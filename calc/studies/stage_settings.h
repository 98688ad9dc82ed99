// The stage's settings as typed, in the window's fields or as korvane-cli's options: the
// op-amp's figures, the supply, the signal, the load, the temperature and the noise band.
// One table gives each its name in both front ends, its unit and the values it takes, so
// that a text means the same in each and is refused with the same diagnostic.
#ifndef KORVANE_CALC_STUDIES_STAGE_SETTINGS_H
#define KORVANE_CALC_STUDIES_STAGE_SETTINGS_H

#include <string>
#include <string_view>

#include "calc/text/outcome.h"

namespace calc {

enum class StageSetting {
  kGbw,            // Hz
  kA0,             // V/V
  kCin,            // F
  kEn,             // V/sqrt(Hz)
  kEnCorner,       // Hz
  kIn,             // A/sqrt(Hz)
  kInCorner,       // Hz
  kSlew,           // V/us, as datasheets give it
  kSwing,          // V from each rail
  kSupply,         // V, the total span between the rails
  kAmplitude,      // V, the input sine's peak
  kLoad,           // ohm
  kTemperature,    // degrees Celsius
  kBandLow,        // Hz
  kBandHigh,       // Hz
  kOutputCurrent,  // A, what the op-amp's output drives at most
  kCount
};

// What a setting takes: a number above (or from) `lowest` up to `highest`. The upper bounds
// lie far beyond any real stage and keep every result the settings feed finite.
struct StageSettingRule {
  std::string_view option;  // korvane-cli's option without "--"
  std::string_view label;   // the window's label (UTF-8)
  double lowest;
  bool lowest_allowed;  // zero or more, rather than positive
  double highest;
};

const StageSettingRule& RuleOf(StageSetting setting);

// The value of `text` (ParseQuantity with the femto prefix "f" too, blanks at the ends
// ignored) for `setting`, or why it
// has none: kSettingEmpty, kSettingNotNumber, kSettingNotPositive, kSettingNegative,
// kSettingTemperature (at or below absolute zero) or kSettingTooLarge. Each diagnostic's
// details are the option, the label and the text, then for kSettingTooLarge the largest
// value; the window's text names the label, korvane-cli's the option.
// ReadStageSetting(kEn, u"18n") -> 1.8e-8; ReadStageSetting(kSlew, u"-1") ->
// kSettingNotPositive; ReadStageSetting(kAmplitude, u"1e308") -> kSettingTooLarge;
// ReadStageSetting(kIn, u"10f") -> 10 / 1e15; ReadStageSetting(kSwing, u"0") -> 0;
// ReadStageSetting(kTemperature, u"-40") -> -40.
Outcome<double> ReadStageSetting(StageSetting setting, std::u16string_view text);

// The text a field shows for a figure, as a designer writes it: the shortest digits with an
// SI prefix (f p n µ m k M G T) that ReadStageSetting reads back as the very same double, or
// the shortest round-trip digits without one where no prefixed text does; empty for no value.
// StageSettingText(3e6) -> u"3M"; StageSettingText(1.8e-8) -> u"18n";
// StageSettingText(1e-14) -> u"10f"; StageSettingText(13) -> u"13"; StageSettingText(0) -> u"0".
std::u16string StageSettingText(double value);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_STAGE_SETTINGS_H

// Reading a tolerance run's settings from the texts a user types (in the window's fields or
// on the command line), with the warning for the first unusable one.
#ifndef KORVANE_CALC_STUDIES_TOLERANCE_INPUTS_H
#define KORVANE_CALC_STUDIES_TOLERANCE_INPUTS_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/analysis/tolerance.h"
#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"

namespace calc {

// A percentage as a fraction: a quantity text (ParseQuantity) with an optional "%" or "％"
// after it; a bare number is read as per cent too, the unit every tolerance field is in.
// NaN when the text holds no number.
// ParsePercent(u"1%") -> 0.01; ParsePercent(u" 0.5 ％") -> 0.005; ParsePercent(u"5") -> 0.05.
double ParsePercent(std::u16string_view text);

// A trial count: a quantity text holding a whole number ("10000", "10,000", "10k"); no value
// for a fraction or a number beyond 2^62, so that ToleranceWarning sees every count it gets.
// ParseTrialCount(u"10k") -> 10000; ParseTrialCount(u"1e10") -> 10000000000;
// ParseTrialCount(u"2.5") -> none.
std::optional<std::int64_t> ParseTrialCount(std::u16string_view text);

// A seed: decimal digits (ASCII or full-width) within 0 ... 2^64 - 1, blanks allowed around
// them. ParseSeed(u"18446744073709551615") -> 2^64 - 1; ParseSeed(u"18446744073709551616")
// and ParseSeed(u"-1") -> none.
std::optional<std::uint64_t> ParseSeed(std::u16string_view text);

// A seed for a run whose seed field is left empty, from the system's entropy source.
std::uint64_t NewSeed();

// The texts of a tolerance run. A part's own text, when not empty, overrides its kind's.
struct ToleranceTexts {
  std::u16string resistor = u"1%", capacitor = u"5%";
  std::array<std::u16string, kPartCount> part;  // R1, R2, R3, C1, C2
  Distribution distribution = Distribution::kUniform;
  std::u16string trials = u"10000";
  std::u16string seed;  // empty: a new seed
  std::u16string limit_fo = u"2%", limit_q = u"5%", limit_h = u"5%";
};

// The settings the texts give for `circuit`, or the warning for the first fault. The
// checks run in the order of ToleranceWarning, with the seed's after the trial count's;
// an empty seed text takes `fresh_seed` (pass NewSeed()), which the settings then hold so
// that it can be shown and typed again.
struct ToleranceInputs {
  ToleranceSettings settings;
  std::u16string_view warning;  // empty when the settings are usable
};
ToleranceInputs ReadToleranceTexts(const Circuit& circuit, const ToleranceTexts& texts,
                                   std::uint64_t fresh_seed);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_TOLERANCE_INPUTS_H

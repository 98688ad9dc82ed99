// Reading a tolerance run's settings from the texts a user types (in the window's fields or on
// the command line), or the diagnostic for the first unusable one.
#ifndef KORVANE_CALC_STUDIES_TOLERANCE_INPUTS_H
#define KORVANE_CALC_STUDIES_TOLERANCE_INPUTS_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/analysis/tolerance.h"
#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/outcome.h"

namespace calc {

// A trial count: a quantity text holding a whole number ("10000", "10,000", "10k") up to
// 2^62, so that the range check sees every count it gets; kTrialCount otherwise.
// ParseTrialCount(u"10k") -> 10000; ParseTrialCount(u"1e10") -> 10000000000;
// ParseTrialCount(u"2.5") -> kTrialCount.
Outcome<std::int64_t> ParseTrialCount(std::u16string_view text);

// A seed: decimal digits (ASCII or full-width) within 0 ... 2^64 - 1, blanks allowed around
// them; kSeed otherwise. ParseSeed(u"18446744073709551615") -> 2^64 - 1;
// ParseSeed(u"18446744073709551616"), ParseSeed(u"-1") and ParseSeed(u"") -> kSeed.
Outcome<std::uint64_t> ParseSeed(std::u16string_view text);

// A seed for a run whose seed field is left empty, from the system's entropy source.
std::uint64_t NewSeed();

// The texts of a tolerance run. A part's own text, when not empty, overrides its kind's.
// Tolerances and limits are percentages (ParsePercent: a bare number is per cent too).
struct ToleranceTexts {
  std::u16string resistor = u"1%", capacitor = u"5%";
  std::array<std::u16string, kPartCount> part;  // R1, R2, R3, C1, C2
  Distribution distribution = Distribution::kUniform;
  std::u16string trials = u"10000";
  std::u16string seed;  // empty: a new seed
  std::u16string limit_fo = u"2%", limit_q = u"5%", limit_h = u"5%";
};

// The settings the texts give for `circuit`, or the diagnostic for the first fault. The
// checks run in the order of ToleranceSettingsProblem, with the seed's (kSeed) after the
// trial count's; a tolerance without a number is kToleranceMissing, a limit without one
// kYieldLimit. An empty seed text takes `fresh_seed` (pass NewSeed()), which the settings
// then hold so that it can be shown and typed again.
Outcome<ToleranceSettings> ReadToleranceTexts(const Circuit& circuit, const ToleranceTexts& texts,
                                              std::uint64_t fresh_seed);

// The settings alone, for a run over circuits its caller checks (the joint search's yield
// run): the same reading and checks without the circuit's.
Outcome<ToleranceSettings> ReadToleranceTexts(const ToleranceTexts& texts,
                                              std::uint64_t fresh_seed);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_TOLERANCE_INPUTS_H

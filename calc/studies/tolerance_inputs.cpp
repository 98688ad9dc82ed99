#include "calc/studies/tolerance_inputs.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <random>

#include "calc/text/quantity_parse.h"

namespace calc {
namespace {

// 2^62: every whole double up to here converts to int64 exactly and without overflow.
constexpr double kLargestCount = 4611686018427387904.0;

}  // namespace

Outcome<std::int64_t> ParseTrialCount(std::u16string_view text) {
  const double count = ParseQuantity(text);
  if (!(count >= 0.0 && count <= kLargestCount) || count != std::floor(count)) {
    return Diagnostic{Problem::kTrialCount};
  }
  return static_cast<std::int64_t>(count);
}

Outcome<std::uint64_t> ParseSeed(std::u16string_view text) {
  const Diagnostic refused{Problem::kSeed};
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 40) return refused;
  std::string digits;
  for (const char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      digits.push_back(static_cast<char>(c));
    } else if (c >= u'０' && c <= u'９') {
      digits.push_back(static_cast<char>('0' + (c - u'０')));
    } else {
      return refused;
    }
  }
  std::uint64_t seed = 0;
  const char* const end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, seed);
  if (error != std::errc() || stop != end) return refused;
  return seed;
}

std::uint64_t NewSeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ static_cast<std::uint64_t>(device());
}

Outcome<ToleranceSettings> ReadToleranceTexts(const Circuit& circuit, const ToleranceTexts& texts,
                                              std::uint64_t fresh_seed) {
  // The circuit's checks come first; the default settings pass the others.
  if (std::optional<Diagnostic> found = ToleranceSettingsProblem(circuit, ToleranceSettings{})) {
    return *std::move(found);
  }
  return ReadToleranceTexts(texts, fresh_seed);
}

Outcome<ToleranceSettings> ReadToleranceTexts(const ToleranceTexts& texts,
                                              std::uint64_t fresh_seed) {
  // Each input is read in the order of the checks and the settings checked again once it
  // is in: the defaults pass, so the first problem found is the first input's.
  ToleranceSettings settings;
  settings.distribution = texts.distribution;
  const auto problem = [&] { return ToleranceSettingsProblem(settings); };
  for (int part = 0; part < kPartCount; ++part) {
    const std::u16string& own = texts.part[part];
    const Outcome<double> tolerance =
        ParsePercent(own.empty() ? (IsResistor(part) ? texts.resistor : texts.capacitor) : own);
    if (!tolerance) return Diagnostic{Problem::kToleranceMissing};
    settings.tolerances[part] = *tolerance;
    if (std::optional<Diagnostic> found = problem()) return *std::move(found);
  }
  const Outcome<std::int64_t> trials = ParseTrialCount(texts.trials);
  if (!trials) return trials.diagnostic();
  settings.trials = *trials;
  if (std::optional<Diagnostic> found = problem()) return *std::move(found);

  // Every 64-bit value is a seed: only its text can be wrong.
  if (TrimBlanks(texts.seed).empty()) {
    settings.seed = fresh_seed;
  } else {
    const Outcome<std::uint64_t> seed = ParseSeed(texts.seed);
    if (!seed) return seed.diagnostic();
    settings.seed = *seed;
  }

  double* const limits[] = {&settings.limits.Fo, &settings.limits.Q, &settings.limits.H};
  const std::u16string* const limit_texts[] = {&texts.limit_fo, &texts.limit_q, &texts.limit_h};
  for (int figure = 0; figure < 3; ++figure) {
    const Outcome<double> limit = ParsePercent(*limit_texts[figure]);
    if (!limit) return Diagnostic{Problem::kYieldLimit};
    *limits[figure] = *limit;
  }
  if (std::optional<Diagnostic> found = problem()) return *std::move(found);
  return settings;
}

}  // namespace calc

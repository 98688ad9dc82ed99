#include "calc/studies/tolerance_inputs.h"

#include <charconv>
#include <cmath>
#include <random>

#include "calc/studies/tolerance_messages.h"
#include "calc/text/quantity_parse.h"

namespace calc {
namespace {

bool IsBlank(char16_t c) { return c <= u' ' || c == u'\u3000'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// 2^62: every whole double up to here converts to int64 exactly and without overflow.
constexpr double kLargestCount = 4611686018427387904.0;

}  // namespace

double ParsePercent(std::u16string_view text) {
  text = Trim(text);
  if (!text.empty() && (text.back() == u'%' || text.back() == u'％')) text.remove_suffix(1);
  const double percent = ParseQuantity(text);
  return percent / 100.0;
}

std::optional<std::int64_t> ParseTrialCount(std::u16string_view text) {
  const double count = ParseQuantity(text);
  if (!(count >= 0.0 && count <= kLargestCount) || count != std::floor(count)) return {};
  return static_cast<std::int64_t>(count);
}

std::optional<std::uint64_t> ParseSeed(std::u16string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 40) return {};
  std::string digits;
  for (const char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      digits.push_back(static_cast<char>(c));
    } else if (c >= u'０' && c <= u'９') {
      digits.push_back(static_cast<char>('0' + (c - u'０')));
    } else {
      return {};
    }
  }
  std::uint64_t seed = 0;
  const char* const end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, seed);
  if (error != std::errc() || stop != end) return {};
  return seed;
}

std::uint64_t NewSeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ static_cast<std::uint64_t>(device());
}

ToleranceInputs ReadToleranceTexts(const Circuit& circuit, const ToleranceTexts& texts,
                                   std::uint64_t fresh_seed) {
  ToleranceInputs result;
  ToleranceSettings& settings = result.settings;
  for (int part = 0; part < kPartCount; ++part) {
    const std::u16string& own = texts.part[part];
    const std::u16string& kind = IsResistor(part) ? texts.resistor : texts.capacitor;
    settings.tolerances[part] = ParsePercent(own.empty() ? kind : own);
  }
  settings.distribution = texts.distribution;
  const std::optional<std::int64_t> trials = ParseTrialCount(texts.trials);
  settings.trials = trials.value_or(0);  // no count: the trial-count warning
  settings.limits = {ParsePercent(texts.limit_fo), ParsePercent(texts.limit_q),
                     ParsePercent(texts.limit_h)};

  // The seed is the only input ToleranceWarning cannot see (every 64-bit value is a seed),
  // so its check goes between the trial count's and the limits'.
  ToleranceSettings up_to_trials = settings;
  up_to_trials.limits = {};
  result.warning = ToleranceWarning(circuit, up_to_trials);
  if (!result.warning.empty()) return result;
  if (Trim(texts.seed).empty()) {
    settings.seed = fresh_seed;
  } else if (const std::optional<std::uint64_t> seed = ParseSeed(texts.seed)) {
    settings.seed = *seed;
  } else {
    result.warning = kSeedWarning;
    return result;
  }
  result.warning = ToleranceWarning(circuit, settings);
  return result;
}

}  // namespace calc

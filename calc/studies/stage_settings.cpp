#include "calc/studies/stage_settings.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <string>

#include "calc/analysis/noise.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/number_text.h"
#include "calc/text/quantity_parse.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

constexpr bool kZeroAllowed = true;
constexpr bool kPositive = false;

// In the order of StageSetting.
constexpr StageSettingRule kRules[] = {
    {"gbw", "GBW", 0.0, kPositive, 1e12},
    {"a0", "A0", 0.0, kPositive, 1e12},
    {"cin", "入力容量", 0.0, kZeroAllowed, 1e-6},
    {"en", "電圧雑音", 0.0, kZeroAllowed, 1e-3},
    {"en-corner", "電圧雑音のコーナー", 0.0, kZeroAllowed, 1e9},
    {"in", "電流雑音", 0.0, kZeroAllowed, 1e-6},
    {"in-corner", "電流雑音のコーナー", 0.0, kZeroAllowed, 1e9},
    {"slew", "SR", 0.0, kPositive, 1e6},
    {"swing", "出力と電源の差", 0.0, kZeroAllowed, 1e3},
    {"supply", "電源電圧", 0.0, kPositive, 1e3},
    {"amplitude", "入力振幅", 0.0, kPositive, 1e3},
    {"load", "負荷抵抗", 0.0, kPositive, 1e12},
    {"temperature", "温度", -kZeroCelsius, kPositive, 1e3},
    {"band-low", "雑音帯域の下限", 0.0, kPositive, 1e12},
    {"band-high", "雑音帯域の上限", 0.0, kPositive, 1e12},
    {"output-current", "出力電流", 0.0, kPositive, 1e3},
};
static_assert(std::size(kRules) == static_cast<std::size_t>(StageSetting::kCount),
              "every setting needs its rule");

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// ParseQuantity with the femto prefix too: current noise is written in fA/sqrt(Hz) ("10f"),
// which ParseQuantity, keeping the calculator's own prefixes, would read as 10 with the
// letter ignored. A lower-case f that is the first letter after the number divides it by
// 1e15, as ParseQuantity divides by the other negative powers; "F" stays the farad.
double ParseStageQuantity(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool exponent =
        (c == u'e' || c == u'E') && i > 0 && (IsDigit(text[i - 1]) || text[i - 1] == u'.');
    if (exponent) continue;
    if (c == u'f') return ParseQuantity(text.substr(0, i)) / 1e15;
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c > 0x7f) break;
  }
  return ParseQuantity(text);
}

// The prefixes StageSettingText writes, from femto up, each 1000 times the one before.
constexpr std::u16string_view kPrefixes[] = {u"f", u"p", u"n", u"µ", u"m",
                                             u"",  u"k", u"M", u"G", u"T"};
constexpr int kUnprefixed = 5;

}  // namespace

const StageSettingRule& RuleOf(StageSetting setting) {
  const auto index = static_cast<std::size_t>(setting);
  return kRules[index < std::size(kRules) ? index : 0];
}

Outcome<double> ReadStageSetting(StageSetting setting, std::u16string_view text) {
  const StageSettingRule& rule = RuleOf(setting);
  const auto refuse = [&](Problem problem) {
    return Diagnostic{problem,
                      {std::string(rule.option), std::string(rule.label),
                       Utf16ToUtf8(TrimBlanks(text)), ShortestText(rule.highest)}};
  };
  const std::u16string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return refuse(Problem::kSettingEmpty);
  const double value = ParseStageQuantity(trimmed);
  if (std::isnan(value)) return refuse(Problem::kSettingNotNumber);
  const bool low_ok = rule.lowest_allowed ? value >= rule.lowest : value > rule.lowest;
  if (!low_ok) {
    if (setting == StageSetting::kTemperature) return refuse(Problem::kSettingTemperature);
    return refuse(rule.lowest_allowed ? Problem::kSettingNegative : Problem::kSettingNotPositive);
  }
  if (!(value <= rule.highest)) return refuse(Problem::kSettingTooLarge);
  return value;
}

std::u16string StageSettingText(double value) {
  if (std::isnan(value)) return {};
  const std::u16string plain = Utf8ToUtf16(ShortestText(value)).value_or(u"");
  if (value == 0.0 || !std::isfinite(value)) return plain;
  const int thousands = static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3.0));
  const int index = thousands + kUnprefixed;
  if (index < 0 || index >= static_cast<int>(std::size(kPrefixes)) || index == kUnprefixed) {
    return plain;
  }
  // The scaled value is rarely exact (1.8e-8 / 1e-9 = 17.999999999999996): the fewest
  // decimals of it whose prefixed text reads back as the very value.
  const double scaled = value / std::pow(10.0, 3 * thousands);
  for (int decimals = 0; decimals <= 17; ++decimals) {
    char buffer[48];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, scaled, std::chars_format::fixed, decimals);
    std::u16string text(buffer, end.ptr);
    text += kPrefixes[index];
    if (ParseStageQuantity(text) == value) return text;
  }
  return plain;
}

}  // namespace calc

// Fuzzes the readers of the stage's typed settings (the op-amp's figures, supply, amplitude,
// load, temperature, noise band) with hostile texts. Besides "no crash, no hang, no
// undefined behaviour" it checks what must hold for every text and setting:
// - a value read lies within the setting's range, and is finite;
// - a refusal names the setting's option and label and quotes the text (its first detail
//   is the option);
// - the text a field shows for the value read (StageSettingText) reads back as the same
//   double.
#include <cmath>
#include <cstdint>
#include <string>

#include "calc/studies/stage_settings.h"
#include "calc/text/diagnostic.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz_support::Describe;
using fuzz_support::Printable;
using fuzz_support::Require;

void CheckText(std::u16string_view text) {
  for (int index = 0; index < static_cast<int>(calc::StageSetting::kCount); ++index) {
    const auto setting = static_cast<calc::StageSetting>(index);
    const calc::StageSettingRule& rule = calc::RuleOf(setting);
    const calc::Outcome<double> value = calc::ReadStageSetting(setting, text);
    if (!value) {
      const calc::Diagnostic& refusal = value.diagnostic();
      Require(refusal.details.size() == 4 && refusal.details[0] == rule.option,
              "a refusal names the option", [&] { return Printable(text); });
      Require(calc::SeverityOf(refusal.problem) == calc::Severity::kWarning,
              "a refused setting is a warning", [&] { return Printable(text); });
      continue;
    }
    const double v = *value;
    const auto context = [&] {
      return std::string(rule.option) + ": " + Printable(text) + " -> " + Describe(v);
    };
    Require(std::isfinite(v) && v <= rule.highest &&
                (rule.lowest_allowed ? v >= rule.lowest : v > rule.lowest),
            "a value read lies within its range", context);
    const std::u16string shown = calc::StageSettingText(v);
    const calc::Outcome<double> back = calc::ReadStageSetting(setting, shown);
    Require(back.ok() && *back == v, "the shown text reads back as the same value",
            [&] { return context() + ", shown " + Printable(shown); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const std::u16string& text : fuzz_support::DecodeTexts(data, size, 2, 1 << 14)) {
    CheckText(text);
  }
  return 0;
}

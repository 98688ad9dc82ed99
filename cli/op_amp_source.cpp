#include "cli/op_amp_source.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "calc/studies/stage_settings.h"
#include "cli/single_output.h"
#include "cli/utf8.h"
#include "data/opamp_catalogue.h"

namespace cli {
namespace {

// An option's text for a setting and where its value goes; an empty text leaves the value
// as it is (no value, or the default).
struct Figure {
  calc::StageSetting setting;
  const std::string* text;
  double* value;
};

std::optional<calc::Diagnostic> ReadFigures(const std::vector<Figure>& figures) {
  for (const Figure& figure : figures) {
    if (figure.text->empty()) continue;
    const calc::Outcome<std::u16string> utf16 =
        DecodeInput(calc::RuleOf(figure.setting).option, *figure.text);
    if (!utf16) return utf16.diagnostic();
    const calc::Outcome<double> value = calc::ReadStageSetting(figure.setting, *utf16);
    if (!value) return value.diagnostic();
    *figure.value = *value;
  }
  return std::nullopt;
}

}  // namespace

const std::vector<calc::OpAmpPart>& CliCatalogue(std::ostream& errors) {
  static const data::OpAmpCatalogue catalogue = [&errors] {
    data::OpAmpCatalogue loaded = data::LoadOpAmpCatalogue(data::DefaultCataloguePlaces());
    for (const calc::Diagnostic& warning : loaded.warnings) WriteDiagnostic(warning, errors);
    return loaded;
  }();
  return catalogue.parts;
}

calc::Outcome<calc::StageOpAmp> ReadOpAmpOptions(const OpAmpOptions& options,
                                                 std::ostream& errors) {
  calc::StageOpAmp typed;
  double slew_v_per_us = calc::kNoValue, swing_v = calc::kNoValue;
  const std::string a0_text =
      options.a0.empty() && options.opamp.empty() && !options.gbw.empty() ? kDefaultA0 : options.a0;
  using calc::StageSetting;
  if (std::optional<calc::Diagnostic> problem = ReadFigures({
          {StageSetting::kGbw, &options.gbw, &typed.gbw_hz},
          {StageSetting::kA0, &a0_text, &typed.a0},
          {StageSetting::kCin, &options.cin, &typed.cin_f},
          {StageSetting::kEn, &options.en, &typed.en_v_rthz},
          {StageSetting::kEnCorner, &options.en_corner, &typed.en_corner_hz},
          {StageSetting::kIn, &options.in, &typed.in_a_rthz},
          {StageSetting::kInCorner, &options.in_corner, &typed.in_corner_hz},
          {StageSetting::kSlew, &options.slew, &slew_v_per_us},
          {StageSetting::kSwing, &options.swing, &swing_v},
      })) {
    return *std::move(problem);
  }
  typed.slew_v_per_s = slew_v_per_us * 1e6;
  typed.swing_low_v = typed.swing_high_v = swing_v;
  if (options.opamp.empty()) {
    // Typed figures alone: an A0 without a GBW makes no model.
    if (std::isnan(typed.gbw_hz)) typed.a0 = calc::kNoValue;
    return typed;
  }

  const std::vector<calc::OpAmpPart>& parts = CliCatalogue(errors);
  const calc::OpAmpPart* part = calc::FindOpAmpPart(parts, options.opamp);
  if (part == nullptr) {
    const std::vector<std::string> near = calc::NearestOpAmpNames(parts, options.opamp);
    if (near.empty()) return calc::Diagnostic{calc::Problem::kUnknownOpAmp, {options.opamp}};
    std::string names;
    for (const std::string& name : near) names += (names.empty() ? "" : ", ") + name;
    return calc::Diagnostic{calc::Problem::kUnknownOpAmpNear, {options.opamp, names}};
  }
  const calc::StageOpAmp op_amp = calc::WithTypedFigures(calc::StageOpAmpOf(*part), typed);
  if (std::isnan(op_amp.gbw_hz)) {
    return calc::Diagnostic{calc::Problem::kOpAmpLacksFigure, {part->name, "gbw"}};
  }
  if (std::isnan(op_amp.a0)) {
    return calc::Diagnostic{calc::Problem::kOpAmpLacksFigure, {part->name, "a0"}};
  }
  return op_amp;
}

calc::Outcome<std::optional<calc::OpAmp>> ReadOpAmpModelOptions(const std::string& opamp,
                                                                const std::string& gbw,
                                                                const std::string& a0,
                                                                const std::string& cin,
                                                                std::ostream& errors) {
  OpAmpOptions options;
  options.opamp = opamp;
  options.gbw = gbw;
  options.a0 = a0;
  options.cin = cin;
  const calc::Outcome<calc::StageOpAmp> op_amp = ReadOpAmpOptions(options, errors);
  if (!op_amp) return op_amp.diagnostic();
  return calc::OpAmpModelOf(*op_amp);
}

bool IsUsageError(const calc::Diagnostic& diagnostic) {
  return diagnostic.problem == calc::Problem::kUnknownOpAmp ||
         diagnostic.problem == calc::Problem::kUnknownOpAmpNear;
}

calc::Outcome<calc::StageConditions> ReadConditionOptions(const ConditionOptions& options) {
  calc::StageConditions conditions;
  using calc::StageSetting;
  if (std::optional<calc::Diagnostic> problem = ReadFigures({
          {StageSetting::kSupply, &options.supply, &conditions.supply_v},
          {StageSetting::kAmplitude, &options.amplitude, &conditions.input_amplitude_v},
          {StageSetting::kLoad, &options.load, &conditions.load_ohm},
          {StageSetting::kTemperature, &options.temperature, &conditions.temperature_c},
          {StageSetting::kBandLow, &options.band_low, &conditions.band_low_hz},
          {StageSetting::kBandHigh, &options.band_high, &conditions.band_high_hz},
      })) {
    return *std::move(problem);
  }
  return conditions;
}

}  // namespace cli

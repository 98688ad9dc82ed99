#include "cli/tolerance_run.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "calc/circuit/circuit_parts.h"
#include "calc/export/tolerance_csv.h"
#include "calc/export/tolerance_report.h"
#include "calc/numeric/float_ops.h"
#include "calc/studies/tolerance_analysis.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/text/error_text.h"
#include "cli/op_amp_source.h"
#include "cli/output_keys.h"
#include "cli/utf8.h"

namespace cli {
namespace {

// The tolerance texts in UTF-16, or the error for the first option that is not UTF-8.
calc::Outcome<calc::ToleranceTexts> DecodeTexts(const ToleranceInput& input) {
  calc::ToleranceTexts texts;
  texts.distribution = input.distribution;
  struct Field {
    std::string_view option;
    const std::string* typed;
    std::u16string* text;
  };
  std::vector<Field> fields = {{"--tol-r", &input.tol_r, &texts.resistor},
                               {"--tol-c", &input.tol_c, &texts.capacitor}};
  for (int part = 0; part < calc::kPartCount; ++part) {
    fields.push_back({kPartToleranceOptions[part], &input.tol_part[part], &texts.part[part]});
  }
  fields.insert(fields.end(), {{"--trials", &input.trials, &texts.trials},
                               {"--seed", &input.seed, &texts.seed},
                               {"--limit-fo", &input.limit_fo, &texts.limit_fo},
                               {"--limit-q", &input.limit_q, &texts.limit_q},
                               {"--limit-h", &input.limit_h, &texts.limit_h}});
  for (const Field& field : fields) {
    calc::Outcome<std::u16string> text = DecodeInput(field.option, *field.typed);
    if (!text) return text.diagnostic();
    *field.text = *std::move(text);
  }
  return texts;
}

nlohmann::ordered_json SensitivityJson(const calc::Circuit& circuit,
                                       const calc::PartSensitivities& s) {
  nlohmann::ordered_json json;
  const calc::PartValues values = calc::PartsOf(s);
  for (int part = 0; part < calc::kPartCount; ++part) {
    if (calc::HasPart(circuit, part)) json[std::string(keys::kParts[part])] = values[part];
  }
  if (!std::isnan(s.Gbw)) json[std::string(keys::kGbw)] = s.Gbw;
  return json;
}

nlohmann::ordered_json SensitivitiesJson(const calc::Circuit& circuit,
                                         const calc::Sensitivities& s) {
  return {{keys::kFo, SensitivityJson(circuit, s.Fo)},
          {keys::kQ, SensitivityJson(circuit, s.Q)},
          {keys::kH, SensitivityJson(circuit, s.H)}};
}

// The op-amp of --gbw and --a0: none without a GBW; kToleranceOpAmp when a text is not
// UTF-8 or not a positive number.
calc::Outcome<std::optional<calc::OpAmp>> ReadOpAmp(const ToleranceInput& input,
                                                    std::ostream& errors) {
  if (!input.opamp.empty() || !input.cin.empty()) {
    return ReadOpAmpModelOptions(input.opamp, input.gbw, input.a0, input.cin, errors);
  }
  if (input.gbw.empty()) return std::optional<calc::OpAmp>();
  const calc::Diagnostic unusable{calc::Problem::kToleranceOpAmp};
  const std::optional<std::u16string> gbw_text = Utf8ToUtf16(input.gbw);
  const std::optional<std::u16string> a0_text = Utf8ToUtf16(input.a0);
  if (!gbw_text || !a0_text) return unusable;
  const calc::Outcome<double> gbw = calc::ParsePositiveQuantity(*gbw_text);
  const calc::Outcome<double> a0 = calc::ParsePositiveQuantity(*a0_text);
  if (!gbw || !a0) return unusable;
  calc::OpAmp op_amp;
  op_amp.A0 = *a0;
  op_amp.Gbw = *gbw;
  return std::optional<calc::OpAmp>(op_amp);
}

nlohmann::ordered_json PercentilesJson(const calc::Percentiles& p) {
  return {{"min", p.min}, {"p0_5", p.p0_5},   {"p5", p.p5},  {"p50", p.p50},
          {"p95", p.p95}, {"p99_5", p.p99_5}, {"max", p.max}};
}

void PrintJson(const calc::ToleranceAnalysis& analysis, std::ostream& out) {
  const calc::Circuit& circuit = analysis.circuit;
  const calc::WorstCase& worst = analysis.worst_case;
  const calc::MonteCarloResult& run = analysis.monte_carlo;
  nlohmann::ordered_json json;
  json["sensitivity"] = SensitivitiesJson(circuit, analysis.sensitivities);
  if (analysis.model_sensitivities) {
    json["model_sensitivity"] = SensitivitiesJson(circuit, *analysis.model_sensitivities);
  }
  json["worst_case"] = {{keys::kFo, {worst.Fo.min, worst.Fo.max}},
                        {keys::kQ, {worst.Q.min, worst.Q.max}},
                        {keys::kH, {worst.H.min, worst.H.max}}};
  json["monte_carlo"] = {
      {"trials", run.trials.size()},
      {"seed", run.seed},
      {"distribution",
       run.settings.distribution == calc::Distribution::kNormal ? "normal" : "uniform"},
      {keys::kFo, PercentilesJson(run.Fo)},
      {keys::kQ, PercentilesJson(run.Q)},
      {keys::kH, PercentilesJson(run.H)}};
  json["yield_centre"] = {{"about", run.CentredOnTarget() ? "target" : "nominal"},
                          {keys::kFo, run.centre.Fo},
                          {keys::kQ, run.centre.Q},
                          {keys::kH, run.centre.H}};
  json["yield"] = run.yield.fraction;
  json["yield_interval"] = {run.yield.low, run.yield.high};
  out << json.dump(2) << '\n';
}

}  // namespace

int RunTolerance(const ToleranceInput& input, Format format, std::uint64_t fresh_seed,
                 std::ostream& out, std::ostream& errors) {
  const calc::Outcome<CircuitSource> source = ReadCircuitSource(input.circuit);
  if (!source) {
    WriteDiagnostic(source.diagnostic(), errors);
    return 1;
  }
  int exit_code = 0;
  if (source->warning) {
    WriteDiagnostic(*source->warning, errors);
    exit_code = 1;
  }
  const calc::Circuit& circuit = source->circuit;
  const calc::Outcome<calc::ToleranceTexts> texts = DecodeTexts(input);
  if (!texts) {
    WriteDiagnostic(texts.diagnostic(), errors);
    return 1;
  }
  calc::Outcome<calc::ToleranceSettings> settings =
      calc::ReadToleranceTexts(circuit, *texts, fresh_seed);
  if (!settings) {
    WriteDiagnostic(settings.diagnostic(), errors);
    return 1;
  }
  // A designed circuit is judged against the target it was designed for.
  settings->yield_centre = source->target;
  const calc::Outcome<std::optional<calc::OpAmp>> op_amp = ReadOpAmp(input, errors);
  if (!op_amp) {
    WriteDiagnostic(op_amp.diagnostic(), errors);
    return IsUsageError(op_amp.diagnostic()) ? 2 : 1;
  }

  try {
    // The window's tolerance study, without the gain envelope: a terminal shows no curve.
    const calc::Outcome<calc::ToleranceAnalysis> analysis =
        calc::RunToleranceAnalysis(circuit, *settings, *op_amp, {});
    if (!analysis) {
      WriteDiagnostic(analysis.diagnostic(), errors);
      return 1;
    }
    switch (format) {
      case Format::kText:
        out << WithLfLineEnds(Utf16ToUtf8(calc::BuildToleranceReport(
            circuit, analysis->sensitivities, analysis->model_sensitivities, analysis->worst_case,
            analysis->monte_carlo)));
        break;
      case Format::kJson:
        PrintJson(*analysis, out);
        break;
      case Format::kCsv:
        out << calc::TrialsCsv(analysis->monte_carlo);
        break;
    }
    out.flush();
  } catch (const calc::FloatError& error) {
    errors << "error: " << calc::ErrorBoxText(error.what()) << '\n';
    return 1;
  }
  return exit_code;
}

}  // namespace cli

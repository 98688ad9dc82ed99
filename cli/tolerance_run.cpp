#include "cli/tolerance_run.h"

#include <nlohmann/json.hpp>

#include <cmath>

#include "calc/analysis/model_sensitivity.h"
#include "calc/analysis/monte_carlo.h"
#include "calc/analysis/sensitivity.h"
#include "calc/analysis/worst_case.h"
#include "calc/circuit/circuit_parts.h"
#include "calc/export/tolerance_csv.h"
#include "calc/export/tolerance_report.h"
#include "calc/numeric/float_ops.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/studies/tolerance_messages.h"
#include "calc/text/error_text.h"
#include "calc/text/quantity_parse.h"
#include "cli/utf8.h"

namespace cli {
namespace {

// The tolerance texts in UTF-16, or the name of the first option that is not UTF-8.
struct ToleranceTexts {
  calc::ToleranceTexts texts;
  std::string bad_name;
};
ToleranceTexts DecodeTexts(const ToleranceInput& input) {
  ToleranceTexts result;
  calc::ToleranceTexts& texts = result.texts;
  texts.distribution = input.distribution;
  auto decode = [&](std::string_view name, const std::string& from, std::u16string& to) {
    if (!result.bad_name.empty()) return;
    const std::optional<std::u16string> text = Utf8ToUtf16(from);
    if (text) {
      to = *text;
    } else {
      result.bad_name = name;
    }
  };
  decode("--tol-r", input.tol_r, texts.resistor);
  decode("--tol-c", input.tol_c, texts.capacitor);
  static constexpr std::array<std::string_view, calc::kPartCount> kPartOptions = {
      "--tol-r1", "--tol-r2", "--tol-r3", "--tol-c1", "--tol-c2"};
  for (int part = 0; part < calc::kPartCount; ++part) {
    decode(kPartOptions[part], input.tol_part[part], texts.part[part]);
  }
  decode("--trials", input.trials, texts.trials);
  decode("--seed", input.seed, texts.seed);
  decode("--limit-fo", input.limit_fo, texts.limit_fo);
  decode("--limit-q", input.limit_q, texts.limit_q);
  decode("--limit-h", input.limit_h, texts.limit_h);
  return result;
}

nlohmann::ordered_json SensitivityJson(const calc::Circuit& circuit,
                                       const calc::PartSensitivities& s) {
  nlohmann::ordered_json json;
  const double values[] = {s.R1, s.R2, s.R3, s.C1, s.C2};
  for (int part = 0; part < calc::kPartCount; ++part) {
    if (calc::HasPart(circuit, part)) json[std::string(calc::kPartNames[part])] = values[part];
  }
  if (!std::isnan(s.Gbw)) json["GBW"] = s.Gbw;
  return json;
}

nlohmann::ordered_json SensitivitiesJson(const calc::Circuit& circuit,
                                         const calc::Sensitivities& s) {
  return {{"fo", SensitivityJson(circuit, s.Fo)},
          {"Q", SensitivityJson(circuit, s.Q)},
          {"H", SensitivityJson(circuit, s.H)}};
}

// The op-amp of --gbw and --a0: no op-amp without a GBW; no value when a text is
// unreadable, not UTF-8 or not a positive number.
struct OpAmpOption {
  std::optional<calc::OpAmp> op_amp;
  bool usable = true;
};
OpAmpOption ReadOpAmp(const ToleranceInput& input) {
  OpAmpOption result;
  if (input.gbw.empty()) return result;
  const std::optional<std::u16string> gbw = Utf8ToUtf16(input.gbw);
  const std::optional<std::u16string> a0 = Utf8ToUtf16(input.a0);
  const calc::OpAmp op_amp{a0 ? calc::ParseQuantity(*a0) : calc::kNoValue,
                           gbw ? calc::ParseQuantity(*gbw) : calc::kNoValue};
  result.usable =
      std::isfinite(op_amp.A0) && op_amp.A0 > 0 && std::isfinite(op_amp.Gbw) && op_amp.Gbw > 0;
  if (result.usable) result.op_amp = op_amp;
  return result;
}

nlohmann::ordered_json PercentilesJson(const calc::Percentiles& p) {
  return {{"min", p.min}, {"p0_5", p.p0_5},   {"p5", p.p5},  {"p50", p.p50},
          {"p95", p.p95}, {"p99_5", p.p99_5}, {"max", p.max}};
}

void PrintJson(const calc::Circuit& circuit, const calc::Sensitivities& s,
               const std::optional<calc::Sensitivities>& model, const calc::WorstCase& worst,
               const calc::MonteCarloResult& run, std::ostream& out) {
  nlohmann::ordered_json json;
  json["sensitivity"] = SensitivitiesJson(circuit, s);
  if (model) json["model_sensitivity"] = SensitivitiesJson(circuit, *model);
  json["worst_case"] = {{"fo", {worst.Fo.min, worst.Fo.max}},
                        {"Q", {worst.Q.min, worst.Q.max}},
                        {"H", {worst.H.min, worst.H.max}}};
  json["monte_carlo"] = {
      {"trials", run.trials.size()},
      {"seed", run.seed},
      {"distribution",
       run.settings.distribution == calc::Distribution::kNormal ? "normal" : "uniform"},
      {"fo", PercentilesJson(run.Fo)},
      {"Q", PercentilesJson(run.Q)},
      {"H", PercentilesJson(run.H)}};
  json["yield"] = run.yield.fraction;
  json["yield_interval"] = {run.yield.low, run.yield.high};
  out << json.dump(2) << '\n';
}

}  // namespace

int RunTolerance(const ToleranceInput& input, Format format, std::uint64_t fresh_seed,
                 std::ostream& out, std::ostream& errors) {
  const CircuitSource source = ReadCircuitSource(input.circuit);
  int exit_code = 0;
  if (!source.warning.empty()) {
    errors << "warning: " << WithLfLineEnds(source.warning) << '\n';
    exit_code = 1;
  }
  if (!source.error.empty()) {
    errors << "error: " << source.error << '\n';
    return 1;
  }
  if (!source.circuit) return 1;
  const calc::Circuit& circuit = *source.circuit;

  const ToleranceTexts decoded = DecodeTexts(input);
  if (!decoded.bad_name.empty()) {
    errors << "error: " << NotUtf8Error(decoded.bad_name) << '\n';
    return 1;
  }
  const calc::ToleranceInputs read = calc::ReadToleranceTexts(circuit, decoded.texts, fresh_seed);
  if (!read.warning.empty()) {
    errors << "warning: " << WithLfLineEnds(Utf16ToUtf8(read.warning)) << '\n';
    return 1;
  }
  const OpAmpOption op_amp = ReadOpAmp(input);
  if (!op_amp.usable) {
    errors << "warning: " << Utf16ToUtf8(calc::kOpAmpWarning) << '\n';
    return 1;
  }

  try {
    const calc::Sensitivities sensitivities = calc::AnalyzeSensitivities(circuit);
    std::optional<calc::Sensitivities> model;
    if (op_amp.op_amp) model = calc::ModelSensitivities(circuit, *op_amp.op_amp);
    const calc::WorstCase worst = calc::AnalyzeWorstCase(circuit, read.settings.tolerances);
    const calc::MonteCarloResult run = *calc::RunMonteCarlo(circuit, read.settings);
    switch (format) {
      case Format::kText:
        out << WithLfLineEnds(
            Utf16ToUtf8(calc::BuildToleranceReport(circuit, sensitivities, model, worst, run)));
        break;
      case Format::kJson:
        PrintJson(circuit, sensitivities, model, worst, run, out);
        break;
      case Format::kCsv:
        out << calc::TrialsCsv(run);
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

#include "cli/response_run.h"

#include <cmath>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

#include "calc/export/netlist.h"
#include "calc/export/response_csv.h"
#include "calc/studies/response_study.h"
#include "calc/studies/setting_texts.h"
#include "calc/studies/stage_study.h"
#include "calc/text/quantity_format.h"
#include "cli/utf8.h"

namespace cli {
namespace {

// The positive number an option's text holds, or why it holds none.
calc::Outcome<double> ReadPositive(std::string_view option, const std::string& text) {
  const calc::Outcome<std::u16string> utf16 = DecodeInput(option, text);
  if (!utf16) return utf16.diagnostic();
  const calc::Outcome<double> value = calc::ParsePositiveQuantity(*utf16);
  if (!value) {
    return calc::Diagnostic{calc::Problem::kOptionNotPositive, {std::string(option), text}};
  }
  return value;
}

// What the options give: the response study's inputs, checked as the study checks them,
// and the op-amp and conditions for the headroom and the netlist's noise.
struct Prepared {
  calc::ResponseInputs inputs;
  calc::StageInputs stage;
  bool clean = true;  // no warning so far
};

// The inputs from the options' texts and the circuit; or the first problem.
calc::Outcome<Prepared> ReadInputs(const ResponseInput& input, const CircuitSource& source,
                                   std::ostream& errors) {
  Prepared prepared;
  calc::ResponseInputs& inputs = prepared.inputs;
  inputs.circuit = source.circuit;
  inputs.target = source.target;
  const calc::Outcome<calc::StageOpAmp> op_amp = ReadOpAmpOptions(input, errors);
  if (!op_amp) return op_amp.diagnostic();
  const calc::Outcome<calc::StageConditions> conditions = ReadConditionOptions(input);
  if (!conditions) return conditions.diagnostic();
  inputs.op_amp = calc::OpAmpModelOf(*op_amp);
  inputs.slew_v_per_us = op_amp->slew_v_per_s / 1e6;
  inputs.input_amplitude_v = conditions->input_amplitude_v;
  struct Option {
    std::string_view name;
    const std::string* text;
    double* value;
  };
  std::vector<Option> options;
  if (!input.from.empty()) options.push_back({"from", &input.from, &inputs.grid.from_hz});
  if (!input.to.empty()) options.push_back({"to", &input.to, &inputs.grid.to_hz});
  double points = 0;
  options.push_back({"points", &input.points, &points});
  for (const Option& option : options) {
    const calc::Outcome<double> value = ReadPositive(option.name, *option.text);
    if (!value) return value.diagnostic();
    *option.value = *value;
  }
  // Within the study's limit the count converts exactly; the study checks the rest.
  if (!(points <= calc::kMostResponsePoints && points == std::floor(points))) {
    return calc::Diagnostic{calc::Problem::kPointCount,
                            {std::to_string(calc::kMostResponsePoints)}};
  }
  inputs.grid.points = static_cast<int>(points);

  const calc::Outcome<std::u16string> tolerance_text = DecodeInput("tolerance", input.tolerance);
  if (!tolerance_text) return tolerance_text.diagnostic();
  const calc::Outcome<double> tolerance = calc::ParseResponseTolerance(*tolerance_text);
  if (!tolerance) return tolerance.diagnostic();
  inputs.tolerance = *tolerance;
  if (std::optional<calc::Diagnostic> problem = calc::ResponseInputsProblem(inputs)) {
    return *std::move(problem);
  }
  prepared.stage = {inputs.circuit, *op_amp, *conditions, inputs.grid};
  return prepared;
}

// The circuit and the inputs, with the design's warning written to `errors`; or the reason
// there are none, written there too, and the exit status it gives.
calc::Outcome<Prepared> Prepare(const ResponseInput& input, std::ostream& errors) {
  const calc::Outcome<CircuitSource> source = ReadCircuitSource(input.circuit);
  if (!source) {
    WriteDiagnostic(source.diagnostic(), errors);
    return source.diagnostic();
  }
  if (source->warning) WriteDiagnostic(*source->warning, errors);
  calc::Outcome<Prepared> prepared = ReadInputs(input, *source, errors);
  if (!prepared) {
    WriteDiagnostic(prepared.diagnostic(), errors);
    return prepared;
  }
  prepared->clean = !source->warning;
  return prepared;
}

int FailureStatus(const calc::Diagnostic& diagnostic) { return IsUsageError(diagnostic) ? 2 : 1; }

nlohmann::ordered_json FiguresJson(const calc::ResponseFigures& f) {
  // NaN (a figure not found) is written as null.
  return {{"peak_hz", f.peak_hz},
          {"peak_gain_db", f.peak_gain_db},
          {"low_3db_hz", f.low_3db_hz},
          {"high_3db_hz", f.high_3db_hz},
          {"bandwidth_hz", f.bandwidth_hz},
          {"q_bandwidth", f.q_bandwidth},
          {"phase_at_peak_deg", f.phase_at_peak_deg}};
}

std::string Shown(double value) { return Utf16ToUtf8(calc::FormatDisplayed(value)); }

// A requirement as shown with its unit, "-" when there is none (the warnings say why).
std::string Requirement(double value, std::string_view unit) {
  return std::isnan(value) ? "-" : Shown(value) + std::string(unit);
}

std::string_view LimitName(calc::HeadroomLimit limit) {
  return limit == calc::HeadroomLimit::kSlew ? "slew" : "swing";
}

void WriteJson(const calc::ResponseInputs& inputs, const calc::ResponseStudy& study,
               const std::optional<calc::Headroom>& headroom, std::ostream& out) {
  nlohmann::ordered_json json;
  for (const calc::ResponseCurve& curve : study.curves) {
    json[std::string(calc::CurveName(curve.kind))] = FiguresJson(curve.figures);
  }
  if (inputs.op_amp) {
    json["required_gbw_hz"] = study.required_gbw_hz;
    json["required_a0"] = study.required_a0;
  }
  json["required_slew_v_per_us"] = study.required_slew_v_per_us;
  if (headroom) {
    json["headroom"] = {{"max_input_v", headroom->max_input_v},
                        {"limit", LimitName(headroom->limit)},
                        {"peak_output_v", headroom->peak_output_v},
                        {"peak_sum_node_v", headroom->peak_summing_node_v},
                        {"peak_output_current_a", headroom->peak_output_current_a}};
  }
  out << json.dump(2) << '\n';
}

void WriteText(const calc::ResponseInputs& inputs, const calc::ResponseStudy& study,
               const std::optional<calc::Headroom>& headroom, std::ostream& out) {
  out << std::left << std::setw(14) << "";
  for (const calc::ResponseCurve& curve : study.curves) {
    out << std::right << std::setw(12) << calc::CurveName(curve.kind);
  }
  out << '\n';
  const auto row = [&](const char* label, double calc::ResponseFigures::*member) {
    out << std::left << std::setw(14) << label;
    for (const calc::ResponseCurve& curve : study.curves) {
      out << std::right << std::setw(12) << Shown(curve.figures.*member);
    }
    out << '\n';
  };
  row("peak (Hz)", &calc::ResponseFigures::peak_hz);
  row("peak (dB)", &calc::ResponseFigures::peak_gain_db);
  row("Q (bandwidth)", &calc::ResponseFigures::q_bandwidth);
  row("-3 dB low", &calc::ResponseFigures::low_3db_hz);
  row("-3 dB high", &calc::ResponseFigures::high_3db_hz);
  row("bandwidth", &calc::ResponseFigures::bandwidth_hz);
  row("phase (deg)", &calc::ResponseFigures::phase_at_peak_deg);
  if (inputs.op_amp) {
    out << "required GBW: " << Requirement(study.required_gbw_hz, "Hz") << " (A0 "
        << Shown(inputs.op_amp->A0) << ", tolerance " << inputs.tolerance * 100 << " %)\n";
    out << "required A0: " << Requirement(study.required_a0, "") << " (unlimited GBW)\n";
  }
  out << "required slew rate: "
      << Utf16ToUtf8(calc::FormatFixed(study.required_slew_v_per_us, 0, 3)) << " V/us at "
      << Shown(inputs.input_amplitude_v) << "V in\n";
  if (headroom) {
    out << "largest clean input: " << Shown(headroom->max_input_v) << "V peak ("
        << LimitName(headroom->limit) << " limit); peak output " << Shown(headroom->peak_output_v)
        << "V, summing node " << Shown(headroom->peak_summing_node_v) << "V, output current "
        << Shown(headroom->peak_output_current_a) << "A\n";
  }
}

}  // namespace

int RunResponse(const ResponseInput& input, Format format, std::ostream& out,
                std::ostream& errors) {
  const calc::Outcome<Prepared> prepared = Prepare(input, errors);
  if (!prepared) return FailureStatus(prepared.diagnostic());
  const calc::ResponseInputs& inputs = prepared->inputs;
  const calc::Outcome<calc::ResponseStudy> study = calc::RunResponseStudy(inputs);
  if (!study) {
    WriteDiagnostic(study.diagnostic(), errors);
    return 1;
  }
  // The headroom needs a peak to measure; without one it is left out, and said why.
  const calc::Outcome<calc::Headroom> headroom = calc::RunHeadroomStudy(prepared->stage);
  std::optional<calc::Headroom> shown_headroom;
  if (headroom) shown_headroom = *headroom;
  switch (format) {
    case Format::kCsv:
      out << calc::ResponseCurvesCsv(*study);
      break;
    case Format::kJson:
      WriteJson(inputs, *study, shown_headroom, out);
      break;
    case Format::kText:
      WriteText(inputs, *study, shown_headroom, out);
      break;
  }
  out.flush();
  std::vector<calc::Diagnostic> warnings = study->shortfalls;
  if (headroom) {
    for (const calc::Diagnostic& warning : headroom->warnings) {
      // The study has said it already, with the slew rate needed.
      if (warning.problem == calc::Problem::kInputSlews &&
          study->FallsShort(calc::Problem::kSlewShort))
        continue;
      warnings.push_back(warning);
    }
  } else {
    warnings.push_back(headroom.diagnostic());
  }
  for (const calc::Diagnostic& warning : warnings) WriteDiagnostic(warning, errors);
  return prepared->clean && warnings.empty() ? 0 : 1;
}

int RunNetlist(const ResponseInput& input, std::ostream& out, std::ostream& errors) {
  const calc::Outcome<Prepared> prepared = Prepare(input, errors);
  if (!prepared) return FailureStatus(prepared.diagnostic());
  const calc::ResponseInputs& inputs = prepared->inputs;
  const calc::FrequencyGrid grid = calc::StudyGrid(inputs);
  const calc::NetlistNoise noise{calc::OpAmpNoiseOf(prepared->stage.op_amp),
                                 prepared->stage.conditions.temperature_c};
  out << calc::SpiceNetlist(inputs.circuit, inputs.op_amp, {grid.from_hz, grid.to_hz, grid.points},
                            noise);
  out.flush();
  return prepared->clean ? 0 : 1;
}

}  // namespace cli

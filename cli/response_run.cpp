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

// The study's inputs from the options' texts and the circuit, checked as the study checks
// them; or the first problem.
calc::Outcome<calc::ResponseInputs> ReadInputs(const ResponseInput& input,
                                               const CircuitSource& source) {
  calc::ResponseInputs inputs;
  inputs.circuit = source.circuit;
  inputs.target = source.target;
  struct Option {
    std::string_view name;
    const std::string* text;
    double* value;
  };
  std::vector<Option> options;
  if (!input.gbw.empty()) {
    inputs.op_amp = calc::OpAmp{};
    options.push_back({"gbw", &input.gbw, &inputs.op_amp->Gbw});
    options.push_back({"a0", &input.a0, &inputs.op_amp->A0});
  }
  if (!input.slew.empty()) options.push_back({"slew", &input.slew, &inputs.slew_v_per_us});
  if (!input.from.empty()) options.push_back({"from", &input.from, &inputs.grid.from_hz});
  if (!input.to.empty()) options.push_back({"to", &input.to, &inputs.grid.to_hz});
  double points = 0;
  options.push_back({"points", &input.points, &points});
  options.push_back({"amplitude", &input.amplitude, &inputs.input_amplitude_v});
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
  return inputs;
}

// The circuit and the study's inputs, with the design's warning written to `errors`; or
// the reason there are none, written there too.
struct Prepared {
  calc::ResponseInputs inputs;
  bool clean = true;  // no warning so far
};
std::optional<Prepared> Prepare(const ResponseInput& input, std::ostream& errors) {
  const calc::Outcome<CircuitSource> source = ReadCircuitSource(input.circuit);
  if (!source) {
    WriteDiagnostic(source.diagnostic(), errors);
    return std::nullopt;
  }
  if (source->warning) WriteDiagnostic(*source->warning, errors);
  calc::Outcome<calc::ResponseInputs> inputs = ReadInputs(input, *source);
  if (!inputs) {
    WriteDiagnostic(inputs.diagnostic(), errors);
    return std::nullopt;
  }
  return Prepared{*std::move(inputs), !source->warning};
}

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

void WriteJson(const calc::ResponseInputs& inputs, const calc::ResponseStudy& study,
               std::ostream& out) {
  nlohmann::ordered_json json;
  for (const calc::ResponseCurve& curve : study.curves) {
    json[std::string(calc::CurveName(curve.kind))] = FiguresJson(curve.figures);
  }
  if (inputs.op_amp) {
    json["required_gbw_hz"] = study.required_gbw_hz;
    json["required_a0"] = study.required_a0;
  }
  json["required_slew_v_per_us"] = study.required_slew_v_per_us;
  out << json.dump(2) << '\n';
}

void WriteText(const calc::ResponseInputs& inputs, const calc::ResponseStudy& study,
               std::ostream& out) {
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
}

}  // namespace

int RunResponse(const ResponseInput& input, Format format, std::ostream& out,
                std::ostream& errors) {
  const std::optional<Prepared> prepared = Prepare(input, errors);
  if (!prepared) return 1;
  const calc::ResponseInputs& inputs = prepared->inputs;
  const calc::Outcome<calc::ResponseStudy> study = calc::RunResponseStudy(inputs);
  if (!study) {
    WriteDiagnostic(study.diagnostic(), errors);
    return 1;
  }
  switch (format) {
    case Format::kCsv:
      out << calc::ResponseCurvesCsv(*study);
      break;
    case Format::kJson:
      WriteJson(inputs, *study, out);
      break;
    case Format::kText:
      WriteText(inputs, *study, out);
      break;
  }
  out.flush();
  for (const calc::Diagnostic& shortfall : study->shortfalls) WriteDiagnostic(shortfall, errors);
  return prepared->clean && study->shortfalls.empty() ? 0 : 1;
}

int RunNetlist(const ResponseInput& input, std::ostream& out, std::ostream& errors) {
  const std::optional<Prepared> prepared = Prepare(input, errors);
  if (!prepared) return 1;
  const calc::ResponseInputs& inputs = prepared->inputs;
  const calc::FrequencyGrid grid = calc::StudyGrid(inputs);
  out << calc::SpiceNetlist(inputs.circuit, inputs.op_amp, {grid.from_hz, grid.to_hz, grid.points});
  out.flush();
  return prepared->clean ? 0 : 1;
}

}  // namespace cli

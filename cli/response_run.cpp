#include "cli/response_run.h"

#include <cmath>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"
#include "calc/export/csv_writer.h"
#include "calc/export/netlist.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/number_text.h"
#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"
#include "cli/batch/result_columns.h"
#include "cli/utf8.h"

namespace cli {
namespace {

constexpr int kMaxPoints = 1'000'000;

// Everything the run needs, read from the texts, or the reason it cannot run.
struct Plan {
  calc::Circuit circuit;
  std::optional<calc::TransferFunction> target;
  std::optional<calc::OpAmp> op_amp;
  calc::NetlistSweep sweep;
  double amplitude = 1, tolerance = 0.01;
  std::optional<calc::Diagnostic> warning;  // with a plan that can run: the design's Q miss
  std::optional<calc::Diagnostic> error;
  bool runnable = false;
};

// The value of an option's text, or NaN with `problem` set.
double ReadNumber(std::string_view name, const std::string& text,
                  std::optional<calc::Diagnostic>& problem, bool percent = false) {
  if (problem) return calc::kNoValue;
  const calc::Outcome<std::u16string> utf16 = DecodeInput(name, text);
  if (!utf16) {
    problem = utf16.diagnostic();
    return calc::kNoValue;
  }
  const calc::Outcome<double> value =
      percent ? calc::ParsePercent(*utf16) : calc::ParsePositiveQuantity(*utf16);
  if (!value || !(*value > 0) || !std::isfinite(*value)) {
    problem = calc::Diagnostic{calc::Problem::kOptionNotPositive, {std::string(name), text}};
    return calc::kNoValue;
  }
  return *value;
}

Plan MakePlan(const ResponseInput& input) {
  Plan plan;
  const calc::Outcome<CircuitSource> source = ReadCircuitSource(input.circuit);
  if (!source) {
    plan.error = source.diagnostic();
    return plan;
  }
  plan.warning = source->warning;
  plan.circuit = source->circuit;
  plan.target = source->target;
  const double fo = calc::NaturalFrequency(plan.circuit);
  if (!(fo > 0) || !std::isfinite(fo)) {
    plan.error = calc::Diagnostic{calc::Problem::kNoCentreFrequency};
    return plan;
  }

  std::optional<calc::Diagnostic> problem;
  if (!input.gbw.empty()) {
    const double gbw = ReadNumber("gbw", input.gbw, problem);
    const double a0 = ReadNumber("a0", input.a0, problem);
    plan.op_amp = calc::OpAmp{a0, gbw};
  }
  plan.sweep.from_hz = input.from.empty() ? fo / 100 : ReadNumber("from", input.from, problem);
  plan.sweep.to_hz = input.to.empty() ? fo * 100 : ReadNumber("to", input.to, problem);
  const double points = ReadNumber("points", input.points, problem);
  plan.amplitude = ReadNumber("amplitude", input.amplitude, problem);
  plan.tolerance = ReadNumber("tolerance", input.tolerance, problem, true);
  if (!problem && !(plan.sweep.to_hz > plan.sweep.from_hz)) {
    problem = calc::Diagnostic{calc::Problem::kFrequencyOrder};
  }
  if (!problem && !(points >= 2 && points <= kMaxPoints && points == std::floor(points))) {
    problem = calc::Diagnostic{calc::Problem::kPointCount, {std::to_string(kMaxPoints)}};
  }
  if (problem) {
    plan.error = problem;
    return plan;
  }
  plan.sweep.points = static_cast<int>(points);
  plan.runnable = true;
  return plan;
}

// The curves a run draws, by name, in the order of their columns.
struct Curve {
  const char* name;
  calc::Response response;
};

std::vector<Curve> CurvesOf(const Plan& plan) {
  std::vector<Curve> curves;
  if (plan.target) {
    curves.push_back(
        {"target", [target = *plan.target](double f) { return calc::TargetResponse(target, f); }});
  }
  curves.push_back({"ideal", [circuit = plan.circuit](double f) {
                      return calc::CircuitResponse(circuit, std::nullopt, f);
                    }});
  if (plan.op_amp) {
    curves.push_back({"opamp", [circuit = plan.circuit, op_amp = plan.op_amp](double f) {
                        return calc::CircuitResponse(circuit, op_amp, f);
                      }});
  }
  return curves;
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

void WriteCsv(const Plan& plan, const std::vector<Curve>& curves, std::ostream& out) {
  std::vector<std::string> header = {"frequency_hz"};
  for (const Curve& curve : curves) {
    header.push_back(std::string(curve.name) + "_gain_db");
    header.push_back(std::string(curve.name) + "_phase_deg");
  }
  std::string text;
  calc::AppendCsvRecord(text, header);
  std::vector<std::string> cells;
  for (const double f :
       calc::LogFrequencies(plan.sweep.from_hz, plan.sweep.to_hz, plan.sweep.points)) {
    cells.assign(1, calc::ShortestText(f));
    for (const Curve& curve : curves) {
      const std::complex<double> h = curve.response(f);
      cells.push_back(calc::ShortestText(calc::GainDb(h)));
      cells.push_back(calc::ShortestText(calc::PhaseDeg(h)));
    }
    calc::AppendCsvRecord(text, cells);
  }
  out << text;
}

}  // namespace

int RunResponse(const ResponseInput& input, Format format, std::ostream& out,
                std::ostream& errors) {
  const Plan plan = MakePlan(input);
  if (plan.warning) WriteDiagnostic(*plan.warning, errors);
  if (plan.error) WriteDiagnostic(*plan.error, errors);
  if (!plan.runnable) return 1;

  const std::vector<Curve> curves = CurvesOf(plan);
  const double fo = calc::NaturalFrequency(plan.circuit);
  std::vector<calc::ResponseFigures> figures;
  for (const Curve& curve : curves) figures.push_back(calc::MeasureResponse(curve.response, fo));
  double required_gbw = calc::kNoValue, required_slew = calc::kNoValue;
  if (plan.op_amp) {
    required_gbw = calc::RequiredGbw(plan.circuit, plan.op_amp->A0, plan.tolerance);
    const calc::ResponseFigures& real = figures.back();
    required_slew = calc::RequiredSlewRate(real.peak_hz, real.peak_gain_db, plan.amplitude);
  }

  switch (format) {
    case Format::kCsv:
      WriteCsv(plan, curves, out);
      break;
    case Format::kJson: {
      nlohmann::ordered_json json;
      for (std::size_t i = 0; i < curves.size(); ++i)
        json[curves[i].name] = FiguresJson(figures[i]);
      if (plan.op_amp) {
        json["required_gbw_hz"] = required_gbw;
        json["required_slew_v_per_us"] = required_slew / 1e6;
      }
      out << json.dump(2) << '\n';
      break;
    }
    case Format::kText: {
      out << std::left << std::setw(14) << "";
      for (const Curve& curve : curves) out << std::right << std::setw(12) << curve.name;
      out << '\n';
      const auto row = [&](const char* label, double calc::ResponseFigures::*member) {
        out << std::left << std::setw(14) << label;
        for (const calc::ResponseFigures& f : figures)
          out << std::right << std::setw(12) << Shown(f.*member);
        out << '\n';
      };
      row("peak (Hz)", &calc::ResponseFigures::peak_hz);
      row("peak (dB)", &calc::ResponseFigures::peak_gain_db);
      row("Q (bandwidth)", &calc::ResponseFigures::q_bandwidth);
      row("-3 dB low", &calc::ResponseFigures::low_3db_hz);
      row("-3 dB high", &calc::ResponseFigures::high_3db_hz);
      row("bandwidth", &calc::ResponseFigures::bandwidth_hz);
      row("phase (deg)", &calc::ResponseFigures::phase_at_peak_deg);
      if (plan.op_amp) {
        out << "required GBW: " << Shown(required_gbw) << "Hz (A0 " << Shown(plan.op_amp->A0)
            << ", tolerance " << plan.tolerance * 100 << " %)\n";
        out << "required slew rate: " << Utf16ToUtf8(calc::FormatFixed(required_slew / 1e6, 0, 3))
            << " V/us at " << Shown(plan.amplitude) << "V in\n";
      }
      break;
    }
  }
  out.flush();
  return plan.warning ? 1 : 0;
}

int RunNetlist(const ResponseInput& input, std::ostream& out, std::ostream& errors) {
  const Plan plan = MakePlan(input);
  if (plan.warning) WriteDiagnostic(*plan.warning, errors);
  if (plan.error) WriteDiagnostic(*plan.error, errors);
  if (!plan.runnable) return 1;
  out << calc::SpiceNetlist(plan.circuit, plan.op_amp, plan.sweep);
  out.flush();
  return plan.warning ? 1 : 0;
}

}  // namespace cli

#include "calc/studies/response_study.h"

#include <cmath>
#include <string>

#include "calc/analysis/op_amp_reach.h"
#include "calc/circuit/band_pass.h"
#include "calc/numeric/exact_powers_of_ten.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/number_text.h"
#include "calc/text/prefixed_unit.h"
#include "calc/text/quantity_format.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

bool PositiveFinite(double value) { return std::isfinite(value) && value > 0.0; }

// A required figure as the window writes values, without the field's padding: "9.851M".
std::string Shown(double value) {
  const std::u16string text = FormatDisplayed(value);
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return Utf16ToUtf8(
      std::u16string_view(text).substr(first, text.find_last_not_of(u' ') + 1 - first));
}

// The curve of `response` on the grid, with `figures`.
ResponseCurve MakeCurve(CurveKind kind, const Response& response,
                        const std::vector<double>& frequencies, const ResponseFigures& figures) {
  ResponseCurve curve{kind, {}, {}, figures};
  curve.gain_db.reserve(frequencies.size());
  curve.phase_deg.reserve(frequencies.size());
  for (const double f : frequencies) {
    const std::complex<double> h = response(f);
    curve.gain_db.push_back(GainDb(h));
    curve.phase_deg.push_back(PhaseDeg(h));
  }
  return curve;
}

// What the op-amp falls short of, for the study's figures.
void FindShortfalls(const ResponseInputs& inputs, ResponseStudy& study) {
  const auto falls_short = [&](Problem problem, double required) {
    study.shortfalls.push_back({problem, {Shown(required)}});
  };
  if (inputs.op_amp) {
    if (!AllFiguresFound(study.Find(CurveKind::kIdeal)->figures)) {
      study.shortfalls.push_back({Problem::kFiguresNotFound, {}});
    } else if (std::isnan(study.required_gbw_hz)) {
      falls_short(Problem::kA0Short, study.required_a0);
    } else if (inputs.op_amp->Gbw < study.required_gbw_hz) {
      falls_short(Problem::kGbwShort, study.required_gbw_hz);
      // What to do next: how far this op-amp reaches.
      const OpAmpReach reach = ReachOfOpAmp(inputs.circuit, *inputs.op_amp, inputs.tolerance);
      const TransferFunction own = Analyze(inputs.circuit);
      study.reach = reach;
      study.shortfalls.push_back(
          {Problem::kGbwShortReach,
           {Shown(own.Fo), std::isnan(reach.q_at_fo) ? "-" : Shown(reach.q_at_fo), Shown(own.Q),
            std::isnan(reach.fo_at_q_hz) ? "-" : Shown(reach.fo_at_q_hz)}});
    }
  }
  // NaN compares false: a requirement that cannot be worked out raises no warning.
  if (inputs.slew_v_per_us < study.required_slew_v_per_us) {
    // V/µs carries its own prefix: the figure takes no second one.
    study.shortfalls.push_back(
        {Problem::kSlewShort, {Utf16ToUtf8(FormatPrefixedUnit(study.required_slew_v_per_us))}});
  }
}

}  // namespace

std::string_view CurveName(CurveKind kind) {
  switch (kind) {
    case CurveKind::kTarget:
      return "target";
    case CurveKind::kIdeal:
      return "ideal";
    case CurveKind::kOpAmp:
      return "opamp";
  }
  return "";
}

const ResponseCurve* ResponseStudy::Find(CurveKind kind) const {
  for (const ResponseCurve& curve : curves) {
    if (curve.kind == kind) return &curve;
  }
  return nullptr;
}

bool ResponseStudy::FallsShort(Problem problem) const {
  for (const Diagnostic& shortfall : shortfalls) {
    if (shortfall.problem == problem) return true;
  }
  return false;
}

FrequencyGrid DefaultFrequencyGrid(const Circuit& circuit) {
  const double fo = NaturalFrequency(circuit);
  // The decades nearest fo / 100 and fo x 100: four whole decades with fo at least one and
  // a half inside either end, and the decades themselves among the points.
  const double low = std::round(std::log10(fo) - kDecadesEitherSide);
  const double high = low + 2.0 * kDecadesEitherSide;
  if (!(std::abs(low) <= kExactPowerLimit && std::abs(high) <= kExactPowerLimit)) {
    // Far beyond any filter: the plain two decades, which the study's checks then judge.
    const double span = std::pow(10.0, kDecadesEitherSide);
    return {fo / span, fo * span, kDefaultResponsePoints};
  }
  return {NearestPowerOfTen(static_cast<int>(low)), NearestPowerOfTen(static_cast<int>(high)),
          DecadeAlignedPoints(kDefaultResponsePoints, static_cast<int>(high - low))};
}

int DecadeAlignedPoints(int points, int decades) {
  if (points < 2 || decades < 1) return points;
  const int steps_per_decade = (points - 2) / decades + 1;  // ceil((points - 1) / decades)
  return steps_per_decade * decades + 1;
}

ResponseFigures TargetFigures(const TransferFunction& target) {
  const double half = 1.0 / (2.0 * target.Q);
  const double root = std::sqrt(1.0 + half * half);
  ResponseFigures figures;
  figures.peak_hz = target.Fo;
  figures.peak_gain_db = 20.0 * std::log10(target.H);
  figures.low_3db_hz = target.Fo * (root - half);
  figures.high_3db_hz = target.Fo * (root + half);
  figures.bandwidth_hz = target.Fo / target.Q;
  figures.q_bandwidth = target.Q;
  figures.phase_at_peak_deg = 180.0;
  return figures;
}

const ResponseCurve& BuiltCircuitCurve(const ResponseStudy& study) {
  const ResponseCurve* built = study.Find(CurveKind::kOpAmp);
  return built != nullptr ? *built : *study.Find(CurveKind::kIdeal);
}

Outcome<double> ParseResponseTolerance(std::u16string_view text) {
  const Outcome<double> tolerance = ParsePercent(text);
  if (!tolerance || !(*tolerance > 0.0 && *tolerance < 1.0)) {
    return Diagnostic{Problem::kResponseTolerance, {Utf16ToUtf8(text)}};
  }
  return tolerance;
}

FrequencyGrid StudyGrid(const ResponseInputs& inputs) {
  FrequencyGrid grid = DefaultFrequencyGrid(inputs.circuit);
  const bool default_range = std::isnan(inputs.grid.from_hz) && std::isnan(inputs.grid.to_hz);
  if (!std::isnan(inputs.grid.from_hz)) grid.from_hz = inputs.grid.from_hz;
  if (!std::isnan(inputs.grid.to_hz)) grid.to_hz = inputs.grid.to_hz;
  grid.points = inputs.grid.points;
  // Over the default whole decades, as many points as asked or the few more that put
  // every decade on the grid; a range the user gives is spaced as asked.
  if (default_range && grid.points <= kMostResponsePoints) {
    const double decades = std::round(std::log10(grid.to_hz / grid.from_hz));
    if (decades == 2.0 * kDecadesEitherSide) {
      const int aligned = DecadeAlignedPoints(grid.points, static_cast<int>(decades));
      if (aligned <= kMostResponsePoints) grid.points = aligned;
    }
  }
  return grid;
}

std::optional<Diagnostic> ResponseInputsProblem(const ResponseInputs& inputs) {
  if (!PositiveFinite(NaturalFrequency(inputs.circuit))) {
    return Diagnostic{Problem::kNoCentreFrequency};
  }
  const FrequencyGrid grid = StudyGrid(inputs);
  struct Setting {
    const char* name;
    double value;
  };
  std::vector<Setting> settings;
  if (inputs.op_amp) {
    settings.push_back({"gbw", inputs.op_amp->Gbw});
    settings.push_back({"a0", inputs.op_amp->A0});
  }
  if (!std::isnan(inputs.slew_v_per_us)) settings.push_back({"slew", inputs.slew_v_per_us});
  settings.push_back({"from", grid.from_hz});
  settings.push_back({"to", grid.to_hz});
  settings.push_back({"amplitude", inputs.input_amplitude_v});
  for (const Setting& setting : settings) {
    if (!PositiveFinite(setting.value)) {
      return Diagnostic{Problem::kOptionNotPositive, {setting.name, ShortestText(setting.value)}};
    }
  }
  if (!(grid.to_hz > grid.from_hz)) return Diagnostic{Problem::kFrequencyOrder};
  if (grid.points < 2 || grid.points > kMostResponsePoints) {
    return Diagnostic{Problem::kPointCount, {std::to_string(kMostResponsePoints)}};
  }
  if (!(inputs.tolerance > 0.0 && inputs.tolerance < 1.0)) {
    return Diagnostic{Problem::kResponseTolerance, {ShortestText(inputs.tolerance * 100.0)}};
  }
  return std::nullopt;
}

ResponseCurve BuiltCurve(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const std::vector<double>& frequencies_hz) {
  const Response response = [&circuit, &op_amp](double f) {
    return CircuitResponse(circuit, op_amp, f);
  };
  return MakeCurve(op_amp ? CurveKind::kOpAmp : CurveKind::kIdeal, response, frequencies_hz,
                   MeasureResponse(response, NaturalFrequency(circuit)));
}

Outcome<ResponseStudy> RunResponseStudy(const ResponseInputs& inputs) {
  if (std::optional<Diagnostic> problem = ResponseInputsProblem(inputs)) {
    return *std::move(problem);
  }
  const Circuit& circuit = inputs.circuit;
  const double fo = NaturalFrequency(circuit);
  const FrequencyGrid grid = StudyGrid(inputs);

  ResponseStudy study;
  study.frequencies_hz = LogFrequencies(grid.from_hz, grid.to_hz, grid.points);
  if (inputs.target) {
    const TransferFunction target = *inputs.target;
    study.curves.push_back(MakeCurve(
        CurveKind::kTarget, [target](double f) { return TargetResponse(target, f); },
        study.frequencies_hz, TargetFigures(target)));
  }
  // The circuit's figures are measured from fo as RequiredGbw measures them, so that the
  // table's ideal figures are the very ones the op-amp is held to.
  const Response ideal = [&circuit](double f) { return CircuitResponse(circuit, std::nullopt, f); };
  study.curves.push_back(
      MakeCurve(CurveKind::kIdeal, ideal, study.frequencies_hz, MeasureResponse(ideal, fo)));
  if (inputs.op_amp) {
    const OpAmp& op_amp = *inputs.op_amp;
    const Response real = [&circuit, &op_amp](double f) {
      return CircuitResponse(circuit, op_amp, f);
    };
    study.curves.push_back(
        MakeCurve(CurveKind::kOpAmp, real, study.frequencies_hz, MeasureResponse(real, fo)));
    study.required_gbw_hz = RequiredGbw(circuit, op_amp, inputs.tolerance);
    study.required_a0 = RequiredA0(circuit, op_amp, inputs.tolerance);
  }
  const ResponseFigures& built = BuiltCircuitCurve(study).figures;
  study.required_slew_v_per_us =
      RequiredSlewRate(built.peak_hz, built.peak_gain_db, inputs.input_amplitude_v) / 1e6;
  FindShortfalls(inputs, study);
  return study;
}

}  // namespace calc

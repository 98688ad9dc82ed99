#include "ui/response/response_data.h"

#include <cmath>

#include "calc/text/number_text.h"

namespace ui {
namespace {

Curve MakeCurve(CurveKind kind, const calc::Response& response,
                const std::vector<double>& frequencies, double guess_hz) {
  Curve curve{kind, {}, {}, {}};
  curve.gain_db.reserve(frequencies.size());
  curve.phase_deg.reserve(frequencies.size());
  for (double f : frequencies) {
    const std::complex<double> h = response(f);
    curve.gain_db.push_back(calc::GainDb(h));
    curve.phase_deg.push_back(calc::PhaseDeg(h));
  }
  curve.figures = calc::MeasureResponse(response, guess_hz);
  return curve;
}

// The wanted band-pass's figures from its formula rather than measured: the target is
// what the other curves are judged against, so it carries no measuring error. Its -3 dB
// frequencies solve |H(f)| = H / sqrt 2: f = fo (sqrt(1 + 1 / (4 Q^2)) -+ 1 / (2 Q)).
calc::ResponseFigures TargetFigures(const calc::TransferFunction& target) {
  const double half = 1.0 / (2.0 * target.Q);
  const double root = std::sqrt(1.0 + half * half);
  calc::ResponseFigures figures;
  figures.peak_hz = target.Fo;
  figures.peak_gain_db = 20.0 * std::log10(target.H);
  figures.low_3db_hz = target.Fo * (root - half);
  figures.high_3db_hz = target.Fo * (root + half);
  figures.bandwidth_hz = target.Fo / target.Q;
  figures.q_bandwidth = target.Q;
  figures.phase_at_peak_deg = 180.0;  // the circuit inverts
  return figures;
}

}  // namespace

const Curve* ResponseData::Find(CurveKind kind) const {
  for (const Curve& curve : curves) {
    if (curve.kind == kind) return &curve;
  }
  return nullptr;
}

ResponseData ComputeResponseData(const ResponseSubject& subject, const OpAmpSettings& settings,
                                 int points) {
  ResponseData data;
  const double fo = subject.analysed.Fo;
  const double span = std::pow(10.0, kDecadesEitherSide);
  data.frequencies_hz = calc::LogFrequencies(fo / span, fo * span, points);

  const calc::Circuit circuit = subject.circuit;
  if (subject.target) {
    const calc::TransferFunction target = *subject.target;
    data.curves.push_back(MakeCurve(
        CurveKind::kTarget, [target](double f) { return calc::TargetResponse(target, f); },
        data.frequencies_hz, target.Fo));
    data.curves.back().figures = TargetFigures(target);
  }
  data.curves.push_back(MakeCurve(
      CurveKind::kIdeal,
      [circuit](double f) { return calc::CircuitResponse(circuit, std::nullopt, f); },
      data.frequencies_hz, fo));
  const calc::OpAmp op_amp = settings.op_amp;
  data.curves.push_back(MakeCurve(
      CurveKind::kOpAmp,
      [circuit, op_amp](double f) { return calc::CircuitResponse(circuit, op_amp, f); },
      data.frequencies_hz, fo));

  data.required_gbw_hz = calc::RequiredGbw(circuit, op_amp.A0, settings.tolerance);
  const calc::ResponseFigures& ideal = data.Find(CurveKind::kIdeal)->figures;
  data.required_slew_v_per_us =
      calc::RequiredSlewRate(ideal.peak_hz, ideal.peak_gain_db, settings.input_amplitude_v) / 1e6;
  // NaN compares false: a requirement that cannot be worked out raises no warning.
  data.gbw_short = op_amp.Gbw < data.required_gbw_hz;
  data.slew_short = settings.slew_v_per_us < data.required_slew_v_per_us;
  return data;
}

const char* CurveFileName(CurveKind kind) {
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

std::string CurvesCsv(const ResponseData& data) {
  std::string out = "frequency_hz";
  for (const Curve& curve : data.curves) {
    const std::string name = CurveFileName(curve.kind);
    out += "," + name + "_gain_db," + name + "_phase_deg";
  }
  out += '\n';
  for (std::size_t i = 0; i < data.frequencies_hz.size(); ++i) {
    calc::AppendShortest(out, data.frequencies_hz[i]);
    for (const Curve& curve : data.curves) {
      out += ',';
      calc::AppendShortest(out, curve.gain_db[i]);
      out += ',';
      calc::AppendShortest(out, curve.phase_deg[i]);
    }
    out += '\n';
  }
  return out;
}

}  // namespace ui

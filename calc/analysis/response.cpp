#include "calc/analysis/response.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "calc/circuit/band_pass.h"
#include "calc/numeric/boundary_search.h"
#include "calc/numeric/exact_powers_of_ten.h"

namespace calc {
namespace {

using Complex = std::complex<double>;

Complex AngularFrequency(double frequency_hz) { return {0.0, kTwoPi * frequency_hz}; }

// |h|^2 of the response at exp(x) hertz: the figures are searched on a log-frequency axis.
double PowerAt(const Response& response, double log_hz) {
  return std::norm(response(std::exp(log_hz)));
}

// Within this many decades either side of the guess a peak and its -3 dB points are sought.
constexpr double kSearchDecades = 8.0;
// The peak is where d|h|^2/dx changes sign; the slope is taken over +-kSlopeStep in ln f,
// small enough that the curve's asymmetry moves the zero by far less than 1e-7, large
// enough that rounding cannot flip the sign near it.
constexpr double kSlopeStep = 1e-5;
constexpr int kBisections = 200;  // more than enough to reach adjacent doubles

// The x in [lo, hi] where `above(x)` turns from true to false, to adjacent doubles.
template <typename Predicate>
double Boundary(double lo, double hi, Predicate above) {
  for (int i = 0; i < kBisections; ++i) {
    const double mid = lo + (hi - lo) / 2;
    if (mid <= lo || mid >= hi) break;
    if (above(mid)) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo + (hi - lo) / 2;
}

}  // namespace

Complex CircuitResponse(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                        double frequency_hz) {
  const Complex s = AngularFrequency(frequency_hz);
  const Complex y1 = 1.0 / circuit.R1;
  const Complex y2 = circuit.HasR2() ? 1.0 / circuit.R2 : 0.0;
  const Complex y3 = 1.0 / circuit.R3;
  const Complex yc1 = s * circuit.C1;
  const Complex yc2 = s * circuit.C2;
  const Complex ycin = op_amp ? s * op_amp->Cin : 0.0;
  // The inverting input follows the output: V- = k Vout.
  const Complex k = InvertingInputPerOutput(op_amp, frequency_hz);

  // Kirchhoff at the summing node (Va) and at the inverting input, Vin = 1:
  //   -(y1 + y2 + yc1 + yc2) Va + (yc1 + yc2 k) Vout = -y1
  //   yc2 Va + (y3 - (yc2 + y3 + ycin) k) Vout = 0
  const Complex a11 = -(y1 + y2 + yc1 + yc2), a12 = yc1 + yc2 * k;
  const Complex a21 = yc2, a22 = y3 - (yc2 + y3 + ycin) * k;
  const Complex determinant = a11 * a22 - a12 * a21;
  return y1 * a21 / determinant;  // Cramer's rule for Vout
}

Complex InvertingInputPerOutput(const std::optional<OpAmp>& op_amp, double frequency_hz) {
  if (!op_amp) return 0.0;
  return -(1.0 / op_amp->A0 + AngularFrequency(frequency_hz) / (kTwoPi * op_amp->Gbw));
}

Complex ClosedFormResponse(const Circuit& circuit, double frequency_hz) {
  const Complex s = AngularFrequency(frequency_hz);
  const double R1 = circuit.R1, R3 = circuit.R3, C1 = circuit.C1, C2 = circuit.C2;
  const double conductance = circuit.HasR2() ? 1.0 / R1 + 1.0 / circuit.R2 : 1.0 / R1;
  const double r3c1c2 = R3 * C1 * C2;
  return -(s / (R1 * C1)) / (s * s + s * ((C1 + C2) / r3c1c2) + conductance / r3c1c2);
}

Complex TargetResponse(const TransferFunction& target, double frequency_hz) {
  const Complex s = AngularFrequency(frequency_hz);
  const double w0 = kTwoPi * target.Fo;
  const double bandwidth = w0 / target.Q;
  return -target.H * bandwidth * s / (s * s + bandwidth * s + w0 * w0);
}

double GainDb(Complex h) { return 20.0 * std::log10(std::abs(h)); }

double PhaseDeg(Complex h) {
  const double degrees = std::arg(h) * (180.0 / std::numbers::pi);
  return degrees <= -180.0 ? degrees + 360.0 : degrees;
}

std::vector<double> LogFrequencies(double from_hz, double to_hz, int points) {
  std::vector<double> frequencies;
  if (points <= 0 || !(from_hz > 0) || !(to_hz > 0) || !std::isfinite(from_hz) ||
      !std::isfinite(to_hz)) {
    return frequencies;
  }
  frequencies.reserve(static_cast<std::size_t>(points));
  if (points == 1) {
    frequencies.push_back(from_hz);
    return frequencies;
  }
  const double first = std::log(from_hz), last = std::log(to_hz);
  // The same spacing in decades, to tell the points that fall on a power of ten: exp(log)
  // leaves them a few units in the last place off (100.00000000000004), which a designer
  // reading a file or a pointer read-out takes for a fault. Within a millionth of a step
  // of a decade is on it: the rounding is some 1e-15 of a decade.
  const double first_decade = std::log10(from_hz), last_decade = std::log10(to_hz);
  const double snap = 1e-6 * std::abs(last_decade - first_decade) / (points - 1);
  for (int i = 0; i < points; ++i) {
    const double exponent = first_decade + (last_decade - first_decade) * i / (points - 1);
    const double decade = std::round(exponent);
    if (std::abs(exponent - decade) <= snap) {
      frequencies.push_back(NearestPowerOfTen(static_cast<int>(decade)));
    } else {
      frequencies.push_back(std::exp(first + (last - first) * i / (points - 1)));
    }
  }
  frequencies.front() = from_hz;  // the ends exactly as asked
  frequencies.back() = to_hz;
  return frequencies;
}

ResponseFigures MeasureResponse(const Response& response, double guess_hz) {
  ResponseFigures figures;
  if (!(guess_hz > 0) || !std::isfinite(guess_hz)) return figures;
  const double center = std::log(guess_hz);
  const double reach = kSearchDecades * std::numbers::ln10;

  // The highest sample of a grid of 40 points a decade brackets the peak.
  constexpr int kPerDecade = 40;
  const double step = std::numbers::ln10 / kPerDecade;
  const int samples = static_cast<int>(2 * kSearchDecades * kPerDecade) + 1;
  double best_x = center, best_power = -1;
  for (int i = 0; i < samples; ++i) {
    const double x = center - reach + i * step;
    const double power = PowerAt(response, x);
    if (power > best_power) best_power = power, best_x = x;
  }
  if (!(best_power > 0) || !std::isfinite(best_power)) return figures;
  const auto rising = [&](double x) {
    return PowerAt(response, x + kSlopeStep) > PowerAt(response, x - kSlopeStep);
  };
  const double peak_x = Boundary(best_x - step, best_x + step, rising);
  const Complex peak = response(std::exp(peak_x));
  const double half_power = std::norm(peak) / 2;
  figures.peak_hz = std::exp(peak_x);
  figures.peak_gain_db = GainDb(peak);
  figures.phase_at_peak_deg = PhaseDeg(peak);

  // Walk out from the peak in growing steps until the power falls below half, then narrow
  // the last step down to where it crosses. The last step ends at the reach itself, so
  // that an edge up to eight decades out is found (a low-Q filter's edges lie about
  // 1/Q either side of its peak).
  const auto inside = [&](double x) { return PowerAt(response, x) >= half_power; };
  const auto outside = [&](double x) { return !inside(x); };
  const auto edge = [&](double direction) {
    double inner = peak_x;
    for (double distance = 1e-4;; distance = std::min(distance * 1.5, reach)) {
      const double outer = peak_x + direction * distance;
      if (outside(outer)) {
        return std::exp(direction > 0 ? Boundary(inner, outer, inside)
                                      : Boundary(outer, inner, outside));
      }
      if (distance == reach) return kNoValue;
      inner = outer;
    }
  };
  figures.low_3db_hz = edge(-1.0);
  figures.high_3db_hz = edge(+1.0);
  figures.bandwidth_hz = figures.high_3db_hz - figures.low_3db_hz;
  figures.q_bandwidth = figures.peak_hz / figures.bandwidth_hz;
  return figures;
}

namespace {

// Far above any answer: the op-amp's error grows with the noise gain, about 2 Q^2 at the
// peak, and with the centre gain.
double SearchStart(const ResponseFigures& ideal) {
  return 1e4 * std::max(1.0, ideal.q_bandwidth * ideal.q_bandwidth) *
         std::max(1.0, std::pow(10.0, ideal.peak_gain_db / 20));
}

constexpr double kUnlimitedGbw = std::numeric_limits<double>::infinity();

}  // namespace

bool AllFiguresFound(const ResponseFigures& f) {
  for (const double figure :
       {f.peak_hz, f.peak_gain_db, f.low_3db_hz, f.high_3db_hz, f.bandwidth_hz, f.q_bandwidth}) {
    if (!std::isfinite(figure)) return false;
  }
  return true;
}

bool FiguresWithinTolerance(const ResponseFigures& figures, const ResponseFigures& ideal,
                            double tolerance) {
  const auto close = [tolerance](double value, double reference) {
    return std::fabs(value - reference) <= tolerance * std::fabs(reference);
  };
  const double gain = std::pow(10.0, figures.peak_gain_db / 20);
  const double ideal_gain = std::pow(10.0, ideal.peak_gain_db / 20);
  return close(figures.peak_hz, ideal.peak_hz) && close(figures.q_bandwidth, ideal.q_bandwidth) &&
         close(gain, ideal_gain) && close(figures.bandwidth_hz, ideal.bandwidth_hz) &&
         close(figures.low_3db_hz, ideal.low_3db_hz) &&
         close(figures.high_3db_hz, ideal.high_3db_hz);
}

double NaturalFrequency(const Circuit& circuit) {
  const double conductance =
      circuit.HasR2() ? 1.0 / circuit.R1 + 1.0 / circuit.R2 : 1.0 / circuit.R1;
  return std::sqrt(conductance / (circuit.R3 * circuit.C1 * circuit.C2)) / kTwoPi;
}

ResponseFigures MeasureCircuit(const Circuit& circuit, const std::optional<OpAmp>& op_amp) {
  return MeasureResponse(
      [&circuit, &op_amp](double f) { return CircuitResponse(circuit, op_amp, f); },
      NaturalFrequency(circuit));
}

double RequiredGbw(const Circuit& circuit, const OpAmp& op_amp, double tolerance) {
  const ResponseFigures ideal = MeasureCircuit(circuit, std::nullopt);
  if (!AllFiguresFound(ideal) || !(tolerance >= 0) || !(op_amp.Cin >= 0)) return kNoValue;
  OpAmp trial = op_amp;
  const auto holds = [&](double gbw) {
    trial.Gbw = gbw;
    return FiguresWithinTolerance(MeasureCircuit(circuit, trial), ideal, tolerance);
  };
  if (!holds(kUnlimitedGbw)) return kNoValue;  // A0 alone is not enough
  return LowestHoldingFromAbove(holds, ideal.peak_hz * SearchStart(ideal), ideal.peak_hz * 1e-6);
}

double RequiredA0(const Circuit& circuit, const OpAmp& op_amp, double tolerance) {
  const ResponseFigures ideal = MeasureCircuit(circuit, std::nullopt);
  if (!AllFiguresFound(ideal) || !(tolerance >= 0) || !(op_amp.Cin >= 0)) return kNoValue;
  OpAmp trial = op_amp;
  trial.Gbw = kUnlimitedGbw;
  const auto holds = [&](double a0) {
    trial.A0 = a0;
    return FiguresWithinTolerance(MeasureCircuit(circuit, trial), ideal, tolerance);
  };
  return LowestHoldingFromAbove(holds, SearchStart(ideal), 1.0);
}

double RequiredSlewRate(double peak_hz, double peak_gain_db, double input_amplitude) {
  return kTwoPi * peak_hz * (input_amplitude * std::pow(10.0, peak_gain_db / 20));
}

}  // namespace calc

#include "calc/analysis/response.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/circuit/band_pass.h"

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
  // The inverting input follows the output: V- = k Vout with k = -1/A(s); an ideal op-amp
  // holds it at ground (k = 0).
  Complex k = 0.0;
  if (op_amp) k = -(1.0 / op_amp->A0 + s / (kTwoPi * op_amp->Gbw));

  // The input capacitance loads the inverting input; an ideal op-amp holds that node at
  // ground, where it draws no current.
  const Complex yin = op_amp ? s * op_amp->Cin : 0.0;

  // Kirchhoff at the summing node (Va) and at the inverting input, Vin = 1:
  //   -(y1 + y2 + yc1 + yc2) Va + (yc1 + yc2 k) Vout = -y1
  //   yc2 Va + (y3 - (yc2 + y3 + yin) k) Vout = 0
  const Complex a11 = -(y1 + y2 + yc1 + yc2), a12 = yc1 + yc2 * k;
  const Complex a21 = yc2, a22 = y3 - (yc2 + y3 + yin) * k;
  const Complex determinant = a11 * a22 - a12 * a21;
  return y1 * a21 / determinant;  // Cramer's rule for Vout
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
  for (int i = 0; i < points; ++i) {
    frequencies.push_back(std::exp(first + (last - first) * i / (points - 1)));
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
  // the last step down to where it crosses.
  const auto inside = [&](double x) { return PowerAt(response, x) >= half_power; };
  const auto outside = [&](double x) { return !inside(x); };
  const auto edge = [&](double direction) {
    double inner = peak_x, distance = 1e-4;
    for (; distance <= reach; distance *= 1.5) {
      const double outer = peak_x + direction * distance;
      if (outside(outer)) {
        return std::exp(direction > 0 ? Boundary(inner, outer, inside)
                                      : Boundary(outer, inner, outside));
      }
      inner = outer;
    }
    return kNoValue;
  };
  figures.low_3db_hz = edge(-1.0);
  figures.high_3db_hz = edge(+1.0);
  figures.bandwidth_hz = figures.high_3db_hz - figures.low_3db_hz;
  figures.q_bandwidth = figures.peak_hz / figures.bandwidth_hz;
  return figures;
}

namespace {

bool WithinTolerance(const ResponseFigures& figures, const ResponseFigures& ideal,
                     double tolerance) {
  const auto close = [tolerance](double value, double reference) {
    return std::fabs(value - reference) <= tolerance * std::fabs(reference);
  };
  const double gain = std::pow(10.0, figures.peak_gain_db / 20);
  const double ideal_gain = std::pow(10.0, ideal.peak_gain_db / 20);
  return close(figures.peak_hz, ideal.peak_hz) && close(figures.q_bandwidth, ideal.q_bandwidth) &&
         close(gain, ideal_gain);
}

}  // namespace

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

double RequiredGbw(const Circuit& circuit, double a0, double tolerance) {
  const ResponseFigures ideal = MeasureCircuit(circuit, std::nullopt);
  if (std::isnan(ideal.q_bandwidth) || !(a0 > 0) || !(tolerance >= 0)) return kNoValue;
  const auto holds = [&](double gbw) {
    return WithinTolerance(MeasureCircuit(circuit, OpAmp{a0, gbw}), ideal, tolerance);
  };
  // From far above, where the op-amp is as good as its DC gain lets it be, step down until
  // the tolerance breaks; the boundary lies in the last step. Scanning rather than
  // bisecting the whole range finds the highest such boundary even where a figure's error
  // changes sign on the way.
  double passing = 1e4 * ideal.peak_hz * std::max(1.0, ideal.q_bandwidth * ideal.q_bandwidth) *
                   std::max(1.0, std::pow(10.0, ideal.peak_gain_db / 20));
  if (!holds(passing)) return kNoValue;  // A0 alone is not enough
  constexpr double kScanFactor = 1.25;
  double failing = passing / kScanFactor;
  while (holds(failing)) {
    passing = failing;
    failing /= kScanFactor;
    if (failing < ideal.peak_hz * 1e-6) return passing;  // never breaks
  }
  // Narrow to a relative 1e-9: the returned value is on the passing side.
  while (passing / failing > 1.0 + 1e-9) {
    const double mid = std::sqrt(passing * failing);
    if (holds(mid)) {
      passing = mid;
    } else {
      failing = mid;
    }
  }
  return passing;
}

double RequiredSlewRate(double peak_hz, double peak_gain_db, double input_amplitude) {
  return kTwoPi * peak_hz * (input_amplitude * std::pow(10.0, peak_gain_db / 20));
}

}  // namespace calc

// The compensation is a root of three equations in three unknowns, ln(figure / target) = 0
// for fo, Q and H, solved in the logarithms of conductances: the total conductance at the
// summing node G = 1/R1 + 1/R2, 1/R3 and 1/R1. Of the ideal circuit's figures, fo depends
// on the product of G and 1/R3, Q on their ratio and H on R3/R1, so the Jacobian is well
// conditioned and Newton's method converges in a few steps from the closed form, even for
// op-amps that move the peak by tens of per cent. R2 = 1 / (G - 1/R1) may come out
// negative, which no part can give: then there is no solution.
#include "calc/analysis/compensation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/analysis/response_polynomial.h"
#include "calc/circuit/band_pass.h"
#include "calc/numeric/float_ops.h"

namespace calc {
namespace {

constexpr int kMaxUnknowns = 3;
using Vector = std::array<double, kMaxUnknowns>;
using Matrix = std::array<Vector, kMaxUnknowns>;

// The solved figures meet the target to this, in ln: far below what the measurement
// resolves, so the last steps on the measured figures start from the best the model gives.
constexpr double kSolvedTolerance = 1e-13;
// Where rounding stops the steps short of that (Q in the hundreds costs the bandwidth a few
// digits), a solution this close still stands; the measured figures have the last word.
constexpr double kSolvedCloseEnough = 1e-9;
// The measured figures must meet the target to this for the resistors to count as a solution.
constexpr double kMeasuredTolerance = 1e-6;
constexpr int kNewtonSteps = 40;  // from the closed form it takes fewer than ten
constexpr int kMeasuredSteps = 3;
constexpr double kDifferenceStep = 1e-5;  // for the Jacobian, in ln of a conductance
constexpr double kLargestStep = 2.0;      // a step of more than e^2 in a conductance is cut

bool PositiveFinite(double x) { return std::isfinite(x) && x > 0.0; }

double Largest(const Vector& v, int n) {
  double largest = 0.0;
  for (int i = 0; i < n; ++i) {
    if (std::isnan(v[i])) return kNoValue;
    largest = std::max(largest, std::fabs(v[i]));
  }
  return largest;
}

// x with J x = b by Gaussian elimination with partial pivoting; no value when J is singular.
std::optional<Vector> SolveLinear(Matrix J, Vector b, int n) {
  for (int column = 0; column < n; ++column) {
    int pivot = column;
    for (int row = column + 1; row < n; ++row) {
      if (std::fabs(J[row][column]) > std::fabs(J[pivot][column])) pivot = row;
    }
    if (!(std::fabs(J[pivot][column]) > 0.0)) return std::nullopt;
    std::swap(J[pivot], J[column]);
    std::swap(b[pivot], b[column]);
    for (int row = column + 1; row < n; ++row) {
      const double factor = J[row][column] / J[column][column];
      for (int k = column; k < n; ++k) J[row][k] -= factor * J[column][k];
      b[row] -= factor * b[column];
    }
  }
  Vector x{};
  for (int row = n - 1; row >= 0; --row) {
    double sum = b[row];
    for (int k = row + 1; k < n; ++k) sum -= J[row][k] * x[k];
    x[row] = sum / J[row][row];
    if (!std::isfinite(x[row])) return std::nullopt;
  }
  return x;
}

// The equations for one capacitor pair: unknowns, the circuit they make, and the residuals.
class Equations {
 public:
  Equations(const TransferFunction& target, double C1, double C2, const OpAmp& op_amp, bool with_r2)
      : target_(target), C1_(C1), C2_(C2), op_amp_(op_amp), with_r2_(with_r2) {}

  int Unknowns() const { return with_r2_ ? 3 : 2; }

  // With R2 the unknowns are ln G, ln(1/R3), ln(1/R1); without, ln(1/R1) and ln(1/R3).
  Vector UnknownsOf(const Circuit& c) const {
    if (with_r2_)
      return {std::log(1.0 / c.R1 + 1.0 / c.R2), std::log(1.0 / c.R3), std::log(1.0 / c.R1)};
    return {std::log(1.0 / c.R1), std::log(1.0 / c.R3), 0.0};
  }

  Circuit CircuitOf(const Vector& x) const {
    Circuit c;
    c.C1 = C1_;
    c.C2 = C2_;
    if (with_r2_) {
      const double g1 = std::exp(x[2]);
      c.R1 = 1.0 / g1;
      c.R2 = 1.0 / (std::exp(x[0]) - g1);
      c.R3 = std::exp(-x[1]);
    } else {
      c.R1 = std::exp(-x[0]);
      c.R3 = std::exp(-x[1]);
    }
    return c;
  }

  // ln(figure / target) for the figures matched: fo, Q, H with R2; fo and H without.
  Vector Residuals(const TransferFunction& figures) const {
    const double fo = std::log(figures.Fo / target_.Fo);
    const double q = std::log(figures.Q / target_.Q);
    const double h = std::log(figures.H / target_.H);
    if (with_r2_) return {fo, q, h};
    return {fo, h, 0.0};
  }

  Vector SolvedResiduals(const Vector& x) const {
    const std::optional<SolvedFigures> solved = SolveFigures(CircuitOf(x), op_amp_);
    if (!solved) return {kNoValue, kNoValue, kNoValue};
    return Residuals({solved->peak_hz, solved->q_bandwidth, solved->peak_gain});
  }

  Vector MeasuredResiduals(const Vector& x) const {
    const ResponseFigures m = MeasureCircuit(CircuitOf(x), op_amp_);
    return Residuals({m.peak_hz, m.q_bandwidth, std::pow(10.0, m.peak_gain_db / 20)});
  }

  // The Jacobian of the solved residuals by central differences.
  std::optional<Matrix> Jacobian(const Vector& x) const {
    Matrix J{};
    const int n = Unknowns();
    for (int column = 0; column < n; ++column) {
      Vector up = x, down = x;
      up[column] += kDifferenceStep;
      down[column] -= kDifferenceStep;
      const Vector r_up = SolvedResiduals(up), r_down = SolvedResiduals(down);
      for (int row = 0; row < n; ++row) {
        J[row][column] = (r_up[row] - r_down[row]) / (2.0 * kDifferenceStep);
        if (!std::isfinite(J[row][column])) return std::nullopt;
      }
    }
    return J;
  }

  // R2, where the circuit has one, must be a positive resistance.
  bool Buildable(const Vector& x) const {
    const Circuit c = CircuitOf(x);
    return PositiveFinite(c.R1) && PositiveFinite(c.R3) && (!with_r2_ || PositiveFinite(c.R2));
  }

 private:
  TransferFunction target_;
  double C1_, C2_;
  OpAmp op_amp_;
  bool with_r2_;
};

// Newton's method on the solved figures, each step halved until the residual falls.
std::optional<Vector> SolveOnModel(const Equations& equations, Vector x) {
  const int n = equations.Unknowns();
  Vector r = equations.SolvedResiduals(x);
  double size = Largest(r, n);
  if (std::isnan(size)) return std::nullopt;
  for (int step = 0; step < kNewtonSteps && size > kSolvedTolerance; ++step) {
    const std::optional<Matrix> J = equations.Jacobian(x);
    if (!J) return std::nullopt;
    std::optional<Vector> delta = SolveLinear(*J, r, n);
    if (!delta) return std::nullopt;
    const double length = Largest(*delta, n);
    const double scale = length > kLargestStep ? kLargestStep / length : 1.0;
    bool improved = false;
    for (double t = scale; t > 1e-6; t /= 2) {
      Vector trial = x;
      for (int i = 0; i < n; ++i) trial[i] -= t * (*delta)[i];
      const Vector r_trial = equations.SolvedResiduals(trial);
      const double trial_size = Largest(r_trial, n);
      if (trial_size < size) {
        x = trial, r = r_trial, size = trial_size, improved = true;
        break;
      }
    }
    if (!improved) break;  // stuck: at the rounding floor, or the target out of reach
  }
  if (!(size <= kSolvedCloseEnough)) return std::nullopt;
  return x;
}

// Steps on the measured figures with the model's Jacobian: the two differ by far less than
// the target's tolerances, so one or two steps bring the measurement onto the target.
Vector CorrectOnMeasurement(const Equations& equations, Vector x, Vector& r) {
  const int n = equations.Unknowns();
  for (int step = 0; step < kMeasuredSteps; ++step) {
    const double size = Largest(r, n);
    if (!(size > kSolvedTolerance)) break;
    const std::optional<Matrix> J = equations.Jacobian(x);
    if (!J) break;
    const std::optional<Vector> delta = SolveLinear(*J, r, n);
    if (!delta) break;
    Vector trial = x;
    for (int i = 0; i < n; ++i) trial[i] -= (*delta)[i];
    const Vector r_trial = equations.MeasuredResiduals(trial);
    if (!(Largest(r_trial, n) < size)) break;
    x = trial, r = r_trial;
  }
  return x;
}

}  // namespace

std::optional<Circuit> CompensatedResistors(const TransferFunction& target, double C1, double C2,
                                            const OpAmp& op_amp) {
  if (!PositiveFinite(target.Fo) || !PositiveFinite(target.Q) || !PositiveFinite(target.H) ||
      !PositiveFinite(C1) || !PositiveFinite(C2)) {
    return std::nullopt;
  }
  Circuit ideal;
  try {
    ideal = ExactResistors(target, C1, C2);
  } catch (const FloatError&) {
    return std::nullopt;
  }
  if (!PositiveFinite(ideal.R1) || !PositiveFinite(ideal.R3) ||
      (ideal.HasR2() && !PositiveFinite(ideal.R2))) {
    return std::nullopt;
  }
  const Equations equations(target, C1, C2, op_amp, ideal.HasR2());
  const std::optional<Vector> solved = SolveOnModel(equations, equations.UnknownsOf(ideal));
  if (!solved || !equations.Buildable(*solved)) return std::nullopt;
  Vector r = equations.MeasuredResiduals(*solved);
  const Vector corrected = CorrectOnMeasurement(equations, *solved, r);
  if (!(Largest(r, equations.Unknowns()) <= kMeasuredTolerance) ||
      !equations.Buildable(corrected)) {
    return std::nullopt;
  }
  return equations.CircuitOf(corrected);
}

std::optional<double> LowestCompensableGbw(const TransferFunction& target, double C1, double C2,
                                           const OpAmp& op_amp) {
  if (!PositiveFinite(op_amp.Gbw) || !PositiveFinite(target.Fo)) return std::nullopt;
  const auto solvable = [&](double gbw) {
    OpAmp trial = op_amp;
    trial.Gbw = gbw;
    return CompensatedResistors(target, C1, C2, trial).has_value();
  };
  // Decades first, so that even a GBW typed a dozen decades off takes a few dozen tries.
  constexpr double kHighestGbw = 1e15;
  const double lowest_tried = target.Fo * 1e-6;
  double passing, failing;
  const double start = std::clamp(op_amp.Gbw, lowest_tried, kHighestGbw);
  if (solvable(start)) {
    passing = start;
    failing = passing / 10;
    while (solvable(failing)) {
      passing = failing;
      failing /= 10;
      if (failing < lowest_tried) return std::nullopt;
    }
  } else {
    failing = start;
    passing = failing * 10;
    while (!solvable(passing)) {
      failing = passing;
      passing *= 10;
      if (passing > kHighestGbw) return std::nullopt;
    }
  }
  while (passing / failing > 1.0 + 1e-6) {
    const double middle = std::sqrt(passing * failing);
    if (solvable(middle)) {
      passing = middle;
    } else {
      failing = middle;
    }
  }
  return passing;
}

}  // namespace calc

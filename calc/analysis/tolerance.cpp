#include "calc/analysis/tolerance.h"

#include <algorithm>
#include <cmath>

#include "calc/commands/command_messages.h"
#include "calc/numeric/counter_random.h"

namespace calc {
namespace {

bool PositiveFinite(double x) { return std::isfinite(x) && x > 0.0; }

}  // namespace

std::optional<Diagnostic> ToleranceSettingsProblem(const Circuit& circuit,
                                                   const ToleranceSettings& settings) {
  // The analysis' own check of the parts it needs, so that both say the same.
  if (!AnalysisInputWarning(circuit).empty()) return Diagnostic{Problem::kTolerancePartsMissing};
  for (int part = 0; part < kPartCount; ++part) {
    if (HasPart(circuit, part) && !PositiveFinite(PartsOf(circuit)[part])) {
      return Diagnostic{Problem::kToleranceCircuit};
    }
  }
  return ToleranceSettingsProblem(settings);
}

std::optional<Diagnostic> ToleranceSettingsProblem(const ToleranceSettings& settings) {
  for (const double tolerance : settings.tolerances) {
    if (std::isnan(tolerance)) return Diagnostic{Problem::kToleranceMissing};
    if (!(tolerance >= 0.0 && tolerance < 1.0)) return Diagnostic{Problem::kToleranceRange};
  }
  if (settings.trials < 1 || settings.trials > kMaxTrials) return Diagnostic{Problem::kTrialCount};
  const YieldLimits& limits = settings.limits;
  if (!PositiveFinite(limits.Fo) || !PositiveFinite(limits.Q) || !PositiveFinite(limits.H)) {
    return Diagnostic{Problem::kYieldLimit};
  }
  return std::nullopt;
}

double DrawPart(double nominal, double tolerance, Distribution distribution,
                std::uint64_t random_key, std::int64_t trial, int part) {
  if (tolerance == 0.0) return nominal;
  const std::uint64_t counter =
      static_cast<std::uint64_t>(trial) * kPartCount + static_cast<std::uint64_t>(part);
  const double u = UnitInterval(RandomBits(random_key, counter));
  double deviation;  // in units of the tolerance, within [-1, 1]
  if (distribution == Distribution::kUniform) {
    deviation = 2.0 * u - 1.0;
  } else {
    // Inverse transform of the normal cut at +-3 sigma: u spreads over the normal's
    // probabilities between Phi(-3) and Phi(3).
    const double p = kNormalTailBeyond3Sigma + u * (1.0 - 2.0 * kNormalTailBeyond3Sigma);
    deviation = std::clamp(NormalQuantile(p) / 3.0, -1.0, 1.0);
  }
  return nominal * (1.0 + tolerance * deviation);
}

Circuit TrialCircuit(const Circuit& nominal, const ToleranceSettings& settings,
                     std::uint64_t random_key, std::int64_t trial) {
  PartValues parts = PartsOf(nominal);
  for (int part = 0; part < kPartCount; ++part) {
    if (!HasPart(nominal, part)) continue;
    parts[part] = DrawPart(parts[part], settings.tolerances[part], settings.distribution,
                           random_key, trial, part);
  }
  return CircuitOf(parts);
}

}  // namespace calc

// The tolerance box of a built circuit: how far each part may lie from its nominal value,
// and how a Monte Carlo run draws parts inside it.
#ifndef KORVANE_CALC_ANALYSIS_TOLERANCE_H
#define KORVANE_CALC_ANALYSIS_TOLERANCE_H

#include <cstdint>
#include <optional>

#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"
#include "calc/text/diagnostic.h"

namespace calc {

// Default tolerances per kind of part, as fractions: 1 % resistors, 5 % capacitors.
inline constexpr double kDefaultResistorTolerance = 0.01;
inline constexpr double kDefaultCapacitorTolerance = 0.05;

// Each part's tolerance as a fraction of its value (0.01 = 1 %): the part lies within
// nominal (1 - t) ... nominal (1 + t). 0 <= t < 1.
inline constexpr PartValues kDefaultTolerances = {
    kDefaultResistorTolerance, kDefaultResistorTolerance, kDefaultResistorTolerance,
    kDefaultCapacitorTolerance, kDefaultCapacitorTolerance};

enum class Distribution {
  kUniform,  // evenly spread over the tolerance band
  // Normal with the tolerance as 3 sigma, cut at the band's ends (the normal distribution
  // given that the part lies inside the band): a maker's tolerance is a limit, and the
  // 0.27 % of a plain normal beyond 3 sigma could even turn a wide-tolerance part negative.
  kNormal,
};

// The shares of the nominal fo, Q and H a trial may miss by and still count as good.
struct YieldLimits {
  double Fo = 0.02, Q = 0.05, H = 0.05;
};

inline constexpr std::int64_t kDefaultTrials = 10000;
// A million trials take under a second and 64 MB; more would only let a typing slip
// freeze the window or exhaust memory.
inline constexpr std::int64_t kMaxTrials = 1000000;

// Everything a tolerance run needs beyond the circuit.
struct ToleranceSettings {
  PartValues tolerances = kDefaultTolerances;
  Distribution distribution = Distribution::kUniform;
  std::int64_t trials = kDefaultTrials;
  std::uint64_t seed = 0;
  YieldLimits limits;
  // Where the yield limits are centred: the target a designed circuit was made for, since
  // that is what its parts must meet; without one (a circuit typed as it
  // is), the nominal circuit's own figures.
  std::optional<TransferFunction> yield_centre;
  int threads = 0;  // 0: every hardware thread
};

// The first fault that makes a run impossible or meaningless, or none. Checked in order:
// the circuit (R1, R3, C1, C2 present: kTolerancePartsMissing; every part present positive
// and finite: kToleranceCircuit), each tolerance (a value: kToleranceMissing; 0 <= t < 1:
// kToleranceRange), the trial count (1 ... kMaxTrials: kTrialCount), the limits (positive
// and finite: kYieldLimit). The default settings pass.
std::optional<Diagnostic> ToleranceSettingsProblem(const Circuit& circuit,
                                                   const ToleranceSettings& settings);
// The same checks without the circuit's: the settings of a run over circuits its caller
// checks (the joint search's yield run).
std::optional<Diagnostic> ToleranceSettingsProblem(const ToleranceSettings& settings);

// The value of `part` in trial `trial` of a run with `seed`: a function of these alone, so
// trials repeat exactly with any number of threads. The draw for each part comes from its
// own counter, trial * kPartCount + part, whether or not R2 is in the circuit.
// A zero tolerance gives the nominal value exactly.
double DrawPart(double nominal, double tolerance, Distribution distribution,
                std::uint64_t random_key, std::int64_t trial, int part);

// The circuit of trial `trial`: each part of `nominal` drawn with DrawPart; an absent R2
// stays absent. `random_key` is RandomKey(seed).
Circuit TrialCircuit(const Circuit& nominal, const ToleranceSettings& settings,
                     std::uint64_t random_key, std::int64_t trial);

}  // namespace calc

#endif  // KORVANE_CALC_ANALYSIS_TOLERANCE_H

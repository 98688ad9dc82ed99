// The joint search of preferred values: every buildable set of five parts around the
// design command's own, scored by how well it hits the target (on the op-amp that will be
// fitted, where one is given), the best ranked, and how many boards built from each would
// pass. The window's optimisation page and `korvane-cli optimize` show this value.
#ifndef KORVANE_CALC_STUDIES_PREFERRED_VALUE_SEARCH_H
#define KORVANE_CALC_STUDIES_PREFERRED_VALUE_SEARCH_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/analysis/target_score.h"
#include "calc/analysis/tolerance.h"
#include "calc/circuit/band_pass.h"
#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"
#include "calc/numeric/parallel_for.h"
#include "calc/numeric/sample_statistics.h"
#include "calc/text/diagnostic.h"
#include "calc/text/outcome.h"

namespace calc {

inline constexpr int kDefaultSearchSteps = 2;
// Six steps are 13^5 = 371,293 sets, which still take well under a second.
inline constexpr int kMaxSearchSteps = 6;
inline constexpr int kDefaultTopSets = 10;
inline constexpr int kMaxTopSets = 1000;
// The yield run's trials over the ranked sets and the reference together: a few seconds of
// work, where a thousand sets of a million trials each would keep a front end busy for
// many minutes.
inline constexpr std::int64_t kMaxYieldTrials = 20'000'000;

// Which order the sets are shown in: by score, or (with a yield run) by yield, highest first,
// sets of equal yield by score.
enum class Ranking { kScore, kYield };

struct PreferredValueSearchSettings {
  // The target, reference impedance, series and locked C2, as the design command takes them.
  DesignRequest design;
  Allowances allowances;
  int steps = kDefaultSearchSteps;  // k: preferred values on each side of each centre
  int top = kDefaultTopSets;        // N: how many sets to rank
  std::optional<OpAmp> op_amp;      // none: an ideal op-amp
  // The tolerance page's settings for a yield run of the ranked sets; none: no yield. Their
  // yield limits play no part (a set's yield is judged against the target and the
  // allowances) and neither does their thread count (`threads` below serves both).
  std::optional<ToleranceSettings> yield;
  Ranking ranking = Ranking::kScore;
  int threads = 0;  // 0: every hardware thread
};

// One set of parts and how it does.
struct ScoredSet {
  Circuit parts;  // R2 has no value where the set has none
  // R1, R2, R3, C1, C2 as the window writes them (FormatDisplayed); R2's empty without it.
  std::array<std::u16string, kPartCount> texts;
  TransferFunction figures;  // CircuitFigures
  TargetErrors errors;
  double score = kNoValue;
  std::optional<Proportion> yield;  // where a yield run was asked for
};

struct PreferredValueSearch {
  ScoredSet reference;  // the design command's own set
  // The continuous design around the design command's C1 and C2 (compensated with an
  // op-amp); no value where the op-amp cannot reach the target with them.
  std::optional<Circuit> continuous;
  // With an op-amp: the lowest GBW (its A0 and Cin kept) at which the design's C1 and C2
  // still have a continuous design (LowestCompensableGbw).
  std::optional<double> lowest_gbw_hz;
  // The best `top` distinct sets, best first. The design command's own set is always
  // among those scored, so the first is never worse than the reference.
  std::vector<ScoredSet> sets;
  std::int64_t searched = 0;  // the sets scored: every one, or bounded out unmeasured
  std::int64_t measured = 0;  // with an op-amp: the sets MeasureCircuit measured
  std::vector<Diagnostic> warnings;
};

// The first of the settings the search cannot work with, or none. They are checked in the
// order of the settings' fields: fo, Q, H (positive), Zref (positive, unless C2 is locked)
// or the locked C2 (positive), the series (E3 ... E192 or 0, unsnapped), the allowances
// (positive), k (0 ... 6), N (1 ... 1000), the op-amp (GBW and A0 positive, Cin 0 or
// more), the yield settings (each tolerance in 0 ... below 1, trials 1 ... kMaxTrials, and
// (N + 1) x trials at most kMaxYieldTrials: kSearchYieldTooLarge).
std::optional<Diagnostic> SearchSettingsProblem(const PreferredValueSearchSettings& settings);

// The search. Its settings are checked first (SearchSettingsProblem); the first fault is the
// diagnostic. A target the design command raises FloatError on gives kSearchArithmeticFault
// with its message; sets and pairs that fault are left out. Every set, the design command's
// own too, is scored with its parts as their texts give them (WrittenCircuit): the figures
// are those the analysis command gives once the set's texts are in the main window's
// fields. Progress counts the sets searched, then the yield trials, on one scale; a
// cancelled search gives kCancelled.
// Fo 10k, Q 8, H 4, Zref 10k, E24 / E6, ideal -> the reference (22k, 680, 180k, 1.5n, 1.5n)
// peaks at 9.74 kHz (score 2.62); the best set (47k, 510, 220k, 680p, 3.3n) meets every
// allowance (fo +0.85 %, Q -1.76 %, H -2.97 %: score 0.99).
Outcome<PreferredValueSearch> SearchPreferredValues(const PreferredValueSearchSettings& settings,
                                                    const ProgressCallback& progress = {});

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_PREFERRED_VALUE_SEARCH_H

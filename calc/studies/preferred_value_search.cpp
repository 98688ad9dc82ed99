// The search scores every set, but measures few of them.
//
// Without an op-amp model a set's figures are the formulas' (Analyze), a few dozen
// operations: every set is scored outright. With a model they are measured on the
// response (MeasureCircuit), about a thousand responses a set. There each set is first
// solved on the response's polynomial (SolveFigures), which MeasureCircuit's figures lie
// within kSolvedFigureMargin of wherever the solution is marked measurable. From those
// figures follows the least score the set can have (ScaledErrorWithin). The sets are then
// measured in the order of their least scores; once the best N measured so far all score
// below the least score of every set not yet measured, none of those can enter the best N
// (each scores at least its bound, which is above the N-th best), and the search stops.
// Sets whose solution is not marked measurable are measured outright. So the result is
// exactly the best N of all sets by score, tie-break and, last, the order the sets are
// enumerated in, whatever the number of threads.
#include "calc/studies/preferred_value_search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <utility>

#include "calc/analysis/compensation.h"
#include "calc/analysis/response_polynomial.h"
#include "calc/analysis/target_yield.h"
#include "calc/numeric/float_ops.h"
#include "calc/studies/search_space.h"
#include "calc/text/quantity_format.h"

namespace calc {
namespace {

// Sets per work item of the scoring pass.
constexpr std::int64_t kSetChunk = 512;
// The series the search steps along: the standard E series, and 0 for unsnapped values.
constexpr std::int32_t kSearchSeries[] = {0, 3, 6, 12, 24, 48, 96, 192};

bool PositiveFinite(double x) { return std::isfinite(x) && x > 0.0; }

}  // namespace

std::optional<Diagnostic> SearchSettingsProblem(const PreferredValueSearchSettings& settings) {
  const DesignRequest& design = settings.design;
  const auto not_positive = [](const char* name) {
    return Diagnostic{Problem::kSearchValueNotPositive, {name}};
  };
  if (!PositiveFinite(design.Fo)) return not_positive("fo");
  if (!PositiveFinite(design.Q)) return not_positive("Q");
  if (!PositiveFinite(design.H)) return not_positive("H");
  if (std::isnan(design.LockedC2)) {
    if (!PositiveFinite(design.Zref)) return not_positive("Zref");
  } else if (!PositiveFinite(design.LockedC2)) {
    return not_positive("C2");
  }
  const auto standard = [](std::int32_t series) {
    return std::find(std::begin(kSearchSeries), std::end(kSearchSeries), series) !=
           std::end(kSearchSeries);
  };
  if (!standard(design.SeriesR)) return Diagnostic{Problem::kSearchSeriesNotStandard, {"R"}};
  if (!standard(design.SeriesC)) return Diagnostic{Problem::kSearchSeriesNotStandard, {"C"}};
  const Allowances& allowances = settings.allowances;
  const std::pair<double, const char*> allowance_names[] = {
      {allowances.Fo, "fo"}, {allowances.Q, "Q"}, {allowances.H, "H"}};
  for (const auto& [allowance, name] : allowance_names) {
    if (!PositiveFinite(allowance)) return Diagnostic{Problem::kSearchAllowanceNotPositive, {name}};
  }
  if (settings.steps < 0 || settings.steps > kMaxSearchSteps) {
    return Diagnostic{Problem::kSearchStepsOutOfRange, {std::to_string(settings.steps)}};
  }
  if (settings.top < 1 || settings.top > kMaxTopSets) {
    return Diagnostic{Problem::kSearchTopOutOfRange, {std::to_string(settings.top)}};
  }
  if (settings.op_amp) {
    if (!PositiveFinite(settings.op_amp->Gbw)) return not_positive("GBW");
    if (!PositiveFinite(settings.op_amp->A0)) return not_positive("A0");
    if (!(settings.op_amp->Cin >= 0.0) || !std::isfinite(settings.op_amp->Cin)) {
      return Diagnostic{Problem::kSearchCinNegative, {}};
    }
  }
  if (settings.yield) {
    for (int part = 0; part < kPartCount; ++part) {
      const double tolerance = settings.yield->tolerances[part];
      if (!(tolerance >= 0.0 && tolerance < 1.0)) {
        return Diagnostic{Problem::kSearchToleranceOutOfRange, {std::string(kPartNames[part])}};
      }
    }
    if (settings.yield->trials < 1 || settings.yield->trials > kMaxTrials) {
      return Diagnostic{Problem::kSearchTrialsOutOfRange, {std::to_string(settings.yield->trials)}};
    }
    // Both counts are checked, so the product stays far inside int64.
    const std::int64_t sets = settings.top + 1;
    if (sets * settings.yield->trials > kMaxYieldTrials) {
      return Diagnostic{Problem::kSearchYieldTooLarge,
                        {std::to_string(sets), std::to_string(settings.yield->trials),
                         std::to_string(kMaxYieldTrials)}};
    }
  }
  return std::nullopt;
}

namespace {

// Every set of the search by number: the pairs' sets in order, then the design command's
// own set where no pair holds it.
class SetList {
 public:
  SetList(const SearchSpace& space, const Circuit& reference) : space_(space) {
    std::int64_t start = 0;
    for (const SearchPair& pair : space.pairs) {
      starts_.push_back(start);
      start += pair.SetCount();
    }
    pair_sets_ = start;
    if (!Holds(reference)) reference_ = reference;
  }

  std::int64_t Count() const { return pair_sets_ + (reference_ ? 1 : 0); }

  Circuit At(std::int64_t index) const {
    if (index >= pair_sets_) return *reference_;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), index);
    const auto pair = static_cast<std::size_t>(after - starts_.begin() - 1);
    return space_.pairs[pair].Set(index - starts_[pair]);
  }

 private:
  bool Holds(const Circuit& set) const {
    const auto listed = [](const std::vector<double>& values, double value) {
      return std::find(values.begin(), values.end(), value) != values.end();
    };
    for (const SearchPair& pair : space_.pairs) {
      if (pair.continuous.C1 != set.C1 || pair.continuous.C2 != set.C2) continue;
      const bool r2 = set.HasR2() ? listed(pair.R2, set.R2) : pair.R2.empty();
      if (r2 && listed(pair.R1, set.R1) && listed(pair.R3, set.R3)) return true;
    }
    return false;
  }

  const SearchSpace& space_;
  std::vector<std::int64_t> starts_;
  std::int64_t pair_sets_ = 0;
  std::optional<Circuit> reference_;
};

// A set's place in the ranking: lower is better, in this order.
struct Rank {
  double score = kNoValue;
  double tie = kNoValue;
  std::int64_t index = 0;
};
bool Better(const Rank& a, const Rank& b) {
  if (a.score != b.score) return a.score < b.score;
  if (a.tie != b.tie) return a.tie < b.tie;
  return a.index < b.index;
}

// What the scoring pass learnt of a set.
struct Entry {
  enum Kind : std::uint8_t { kUnusable, kScored, kBounded };
  double value = 0.0;  // the score, or the least score of a bounded set
  double tie = 0.0;
  Kind kind = kUnusable;
};

// The least score the measured figures can give, from the solved ones.
double LeastScore(const SolvedFigures& solved, const TransferFunction& target,
                  const Allowances& allowances) {
  return std::max(
      {ScaledErrorWithin(solved.peak_hz, target.Fo, allowances.Fo, kSolvedFigureMargin).least,
       ScaledErrorWithin(solved.q_bandwidth, target.Q, allowances.Q, kSolvedFigureMargin).least,
       ScaledErrorWithin(solved.peak_gain, target.H, allowances.H, kSolvedFigureMargin).least});
}

Entry Scored(const Circuit& set, const TransferFunction& target,
             const PreferredValueSearchSettings& settings) {
  const TargetErrors errors = ErrorsFrom(CircuitFigures(set, settings.op_amp), target);
  const double score = Score(errors, settings.allowances);
  if (std::isnan(score)) return {};
  return {score, TieBreak(errors, settings.allowances), Entry::kScored};
}

void KeepBest(std::vector<Rank>& ranks, std::size_t top) {
  if (ranks.size() > top) {
    std::nth_element(ranks.begin(), ranks.begin() + static_cast<std::ptrdiff_t>(top - 1),
                     ranks.end(), Better);
    ranks.resize(top);
  }
  std::sort(ranks.begin(), ranks.end(), Better);
}

struct Ranked {
  std::vector<Rank> best;
  std::int64_t measured = 0;
};

// The best `settings.top` sets of `sets`; no value when cancelled.
std::optional<Ranked> RankSets(const SetList& sets, const TransferFunction& target,
                               const PreferredValueSearchSettings& settings,
                               const ProgressCallback& progress) {
  const std::int64_t count = sets.Count();
  const auto top = static_cast<std::size_t>(settings.top);
  const std::optional<OpAmp>& op_amp = settings.op_amp;
  std::vector<Entry> entries(static_cast<std::size_t>(count));
  std::atomic<std::int64_t> measured{0};
  const bool completed = ParallelFor(
      count, kSetChunk, settings.threads,
      [&](std::int64_t begin, std::int64_t end) {
        std::int64_t measured_here = 0;
        for (std::int64_t i = begin; i < end; ++i) {
          const Circuit set = sets.At(i);
          Entry& entry = entries[static_cast<std::size_t>(i)];
          if (op_amp) {
            const std::optional<SolvedFigures> solved = SolveFigures(set, op_amp);
            if (solved && solved->measurable) {
              entry = {LeastScore(*solved, target, settings.allowances), 0.0, Entry::kBounded};
              continue;
            }
            ++measured_here;
          }
          entry = Scored(set, target, settings);
        }
        measured += measured_here;
      },
      progress);
  if (!completed) return std::nullopt;

  Ranked ranked;
  std::vector<std::pair<double, std::int64_t>> bounded;  // least score, set
  for (std::int64_t i = 0; i < count; ++i) {
    const Entry& entry = entries[static_cast<std::size_t>(i)];
    if (entry.kind == Entry::kScored) ranked.best.push_back({entry.value, entry.tie, i});
    if (entry.kind == Entry::kBounded) bounded.emplace_back(entry.value, i);
  }
  entries = {};
  KeepBest(ranked.best, top);

  // Measure the bounded sets in the order of their bounds, a batch at a time, until the
  // next bound lies above the N-th best score measured. A bound equal to it could still
  // win on the tie-break, so it is measured.
  const auto later = std::greater<>();
  std::make_heap(bounded.begin(), bounded.end(), later);
  const int threads = settings.threads > 0 ? settings.threads : DefaultThreadCount();
  while (!bounded.empty()) {
    const double threshold = ranked.best.size() < top ? std::numeric_limits<double>::infinity()
                                                      : ranked.best.back().score;
    const std::size_t batch_size =
        std::max<std::size_t>(2 * static_cast<std::size_t>(threads), top - ranked.best.size());
    std::vector<std::int64_t> batch;
    while (!bounded.empty() && bounded.front().first <= threshold && batch.size() < batch_size) {
      std::pop_heap(bounded.begin(), bounded.end(), later);
      batch.push_back(bounded.back().second);
      bounded.pop_back();
    }
    if (batch.empty()) break;
    std::vector<Entry> scored(batch.size());
    ParallelFor(static_cast<std::int64_t>(batch.size()), 1, settings.threads,
                [&](std::int64_t begin, std::int64_t end) {
                  for (std::int64_t i = begin; i < end; ++i) {
                    const auto at = static_cast<std::size_t>(i);
                    scored[at] = Scored(sets.At(batch[at]), target, settings);
                  }
                });
    ranked.measured += static_cast<std::int64_t>(batch.size());
    for (std::size_t i = 0; i < batch.size(); ++i) {
      if (scored[i].kind == Entry::kScored) {
        ranked.best.push_back({scored[i].value, scored[i].tie, batch[i]});
      }
    }
    KeepBest(ranked.best, top);
    if (progress && !progress(count, count)) return std::nullopt;
  }
  ranked.measured += measured.load();
  return ranked;
}

ScoredSet ScoreSet(const Circuit& parts, const TransferFunction& target,
                   const PreferredValueSearchSettings& settings) {
  ScoredSet set;
  set.parts = parts;
  const PartValues values = PartsOf(parts);
  for (int part = 0; part < kPartCount; ++part) set.texts[part] = FormatDisplayed(values[part]);
  set.figures = CircuitFigures(parts, settings.op_amp);
  set.errors = ErrorsFrom(set.figures, target);
  set.score = Score(set.errors, settings.allowances);
  return set;
}

Outcome<PreferredValueSearch> RunSearch(const PreferredValueSearchSettings& settings,
                                        const ProgressCallback& progress) {
  const DesignRequest& request = settings.design;
  const TransferFunction target{request.Fo, request.Q, request.H};
  // The design command's set as its fields show it, like every set searched.
  const Circuit design = WrittenCircuit(Design(request).Snapped);

  PreferredValueSearch search;
  search.reference = ScoreSet(design, target, settings);
  search.continuous = ContinuousResistors(target, design.C1, design.C2, settings.op_amp);
  if (settings.op_amp) {
    search.lowest_gbw_hz = LowestCompensableGbw(target, design.C1, design.C2, *settings.op_amp);
    if (!search.continuous) search.warnings.push_back({Problem::kSearchNoContinuousDesign, {}});
  }

  const SearchSpace space =
      BuildSearchSpace(request, design, settings.steps, settings.op_amp, settings.threads);
  if (space.pairs.empty()) search.warnings.push_back({Problem::kSearchNoPairReachesTarget, {}});
  const SetList sets(space, design);
  search.searched = sets.Count();

  // One progress scale: the sets, then the yield trials of the ranked sets and the reference.
  const std::int64_t trials = settings.yield ? settings.yield->trials : 0;
  const std::int64_t yield_sets = std::min<std::int64_t>(settings.top, search.searched) + 1;
  const std::int64_t total = search.searched + yield_sets * trials;
  ProgressCallback search_progress, yield_progress;
  if (progress) {
    search_progress = [&](std::int64_t done, std::int64_t) { return progress(done, total); };
    yield_progress = [&](std::int64_t done, std::int64_t) {
      return progress(search.searched + done, total);
    };
  }
  const std::optional<Ranked> ranked = RankSets(sets, target, settings, search_progress);
  if (!ranked) return Diagnostic{Problem::kCancelled, {}};
  search.measured = ranked->measured;
  search.sets.resize(ranked->best.size());
  ParallelFor(static_cast<std::int64_t>(ranked->best.size()), 1, settings.threads,
              [&](std::int64_t begin, std::int64_t end) {
                for (std::int64_t i = begin; i < end; ++i) {
                  const auto at = static_cast<std::size_t>(i);
                  search.sets[at] = ScoreSet(sets.At(ranked->best[at].index), target, settings);
                }
              });

  if (settings.yield) {
    std::vector<Circuit> circuits{search.reference.parts};
    for (const ScoredSet& set : search.sets) circuits.push_back(set.parts);
    ToleranceSettings tolerance = *settings.yield;
    tolerance.threads = settings.threads;
    const Outcome<std::vector<Proportion>> yields = TargetYields(
        circuits, target, settings.allowances, settings.op_amp, tolerance, yield_progress);
    if (!yields) return yields.diagnostic();
    search.reference.yield = (*yields)[0];
    for (std::size_t i = 0; i < search.sets.size(); ++i) search.sets[i].yield = (*yields)[i + 1];
    if (settings.ranking == Ranking::kYield) {
      std::stable_sort(search.sets.begin(), search.sets.end(),
                       [](const ScoredSet& a, const ScoredSet& b) {
                         return a.yield->fraction > b.yield->fraction;
                       });
    }
  }
  if (progress && !progress(total, total)) return Diagnostic{Problem::kCancelled, {}};
  return search;
}

}  // namespace

Outcome<PreferredValueSearch> SearchPreferredValues(const PreferredValueSearchSettings& settings,
                                                    const ProgressCallback& progress) {
  if (const std::optional<Diagnostic> problem = SearchSettingsProblem(settings)) return *problem;
  // The design faults on targets no circuit can meet (fo 1e308 Hz, say). The search itself
  // catches the faults of each pair and set; one that slipped through would be reported
  // the same way rather than end the program.
  try {
    return RunSearch(settings, progress);
  } catch (const FloatError& error) {
    return Diagnostic{Problem::kSearchArithmeticFault, {error.what()}};
  }
}

}  // namespace calc

#include "calc/analysis/target_yield.h"

#include <atomic>
#include <cmath>

#include "calc/analysis/response_polynomial.h"
#include "calc/numeric/counter_random.h"

namespace calc {
namespace {

// Trials per work item, as in the tolerance study's own run.
constexpr std::int64_t kTrialChunk = 256;

enum class Verdict { kInside, kOutside, kUnsure };

// A trial judged on its solved figures, which the measured ones lie within
// kSolvedFigureMargin of: unsure where a figure's error lies that close to its allowance.
Verdict Judge(const SolvedFigures& solved, const TransferFunction& target,
              const Allowances& allowances) {
  const ScaledErrorRange ranges[] = {
      ScaledErrorWithin(solved.peak_hz, target.Fo, allowances.Fo, kSolvedFigureMargin),
      ScaledErrorWithin(solved.q_bandwidth, target.Q, allowances.Q, kSolvedFigureMargin),
      ScaledErrorWithin(solved.peak_gain, target.H, allowances.H, kSolvedFigureMargin)};
  bool sure_inside = true;
  for (const ScaledErrorRange& range : ranges) {
    if (range.least > 1.0) return Verdict::kOutside;
    if (!(range.most <= 1.0)) sure_inside = false;
  }
  return sure_inside ? Verdict::kInside : Verdict::kUnsure;
}

bool Inside(const Circuit& trial, const TransferFunction& target, const Allowances& allowances,
            const std::optional<OpAmp>& op_amp) {
  if (op_amp) {
    const std::optional<SolvedFigures> solved = SolveFigures(trial, op_amp);
    if (solved && solved->measurable) {
      const Verdict verdict = Judge(*solved, target, allowances);
      if (verdict != Verdict::kUnsure) return verdict == Verdict::kInside;
    }
  }
  return WithinAllowances(ErrorsFrom(CircuitFigures(trial, op_amp), target), allowances);
}

}  // namespace

Outcome<std::vector<Proportion>> TargetYields(std::span<const Circuit> circuits,
                                              const TransferFunction& target,
                                              const Allowances& allowances,
                                              const std::optional<OpAmp>& op_amp,
                                              const ToleranceSettings& settings,
                                              const ProgressCallback& progress) {
  for (const double tolerance : settings.tolerances) {
    if (!(tolerance >= 0.0 && tolerance < 1.0)) return Diagnostic{Problem::kToleranceRange};
  }
  if (settings.trials < 1 || settings.trials > kMaxTrials) {
    return Diagnostic{Problem::kTrialCount};
  }
  const std::int64_t trials = settings.trials;
  const auto count = static_cast<std::int64_t>(circuits.size()) * trials;
  const std::uint64_t key = RandomKey(settings.seed);
  std::vector<std::atomic<std::int64_t>> inside(circuits.size());
  const bool completed = ParallelFor(
      count, kTrialChunk, settings.threads,
      [&](std::int64_t begin, std::int64_t end) {
        // A chunk may span two circuits: count each one's share and add it once.
        std::int64_t circuit = begin / trials, counted = 0;
        for (std::int64_t i = begin; i < end; ++i) {
          if (i / trials != circuit) {
            inside[static_cast<std::size_t>(circuit)] += counted;
            circuit = i / trials, counted = 0;
          }
          const Circuit drawn =
              TrialCircuit(circuits[static_cast<std::size_t>(circuit)], settings, key, i % trials);
          if (Inside(drawn, target, allowances, op_amp)) ++counted;
        }
        inside[static_cast<std::size_t>(circuit)] += counted;
      },
      progress);
  if (!completed) return Diagnostic{Problem::kCancelled};
  std::vector<Proportion> yields;
  yields.reserve(circuits.size());
  for (const std::atomic<std::int64_t>& count_inside : inside) {
    yields.push_back(WilsonInterval(count_inside.load(), trials));
  }
  return yields;
}

}  // namespace calc

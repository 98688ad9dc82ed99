// Random numbers addressed by a counter: draw i of a run is a hash of (seed, i) alone, so a
// run repeats exactly whatever the order or the number of threads that compute its draws.
// Every transform here is written out (no std::*_distribution, whose output differs
// between standard libraries), so a seed names the same trials everywhere.
#ifndef KORVANE_CALC_NUMERIC_COUNTER_RANDOM_H
#define KORVANE_CALC_NUMERIC_COUNTER_RANDOM_H

#include <cstdint>

namespace calc {

// The key of a run's seed; derive it once per run and pass it to RandomBits.
std::uint64_t RandomKey(std::uint64_t seed);

// 64 well-mixed bits for draw `counter` of the run keyed `key`: SplitMix64's output for
// state `key` at step `counter`, mixed once more with the key.
std::uint64_t RandomBits(std::uint64_t key, std::uint64_t counter);

// A uniform number strictly inside (0, 1) from the top 53 bits: (n + 1/2) / 2^53.
double UnitInterval(std::uint64_t bits);

// The standard normal distribution's quantile, Phi^-1(p) for 0 < p < 1, by Wichura's
// algorithm AS 241 (relative error about 1e-16). Uses only +, -, *, /, sqrt and log.
// NormalQuantile(0.5) -> 0; NormalQuantile(0.975) -> 1.959963984540054.
double NormalQuantile(double p);

// Phi(-3): the lower tail of the normal distribution beyond three standard deviations.
inline constexpr double kNormalTailBeyond3Sigma = 1.3498980316300946e-3;

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_COUNTER_RANDOM_H

#include "calc/analysis/gain_envelope.h"

#include <cmath>
#include <complex>
#include <cstdint>

#include "calc/numeric/sample_statistics.h"

namespace calc {
namespace {

// |h|^2 in dB: 10 log10 |h|^2, which is 20 log10 |h|.
double PowerDb(double power) { return 10.0 * std::log10(power); }

}  // namespace

Outcome<GainEnvelope> ComputeGainEnvelope(std::span<const Trial> trials,
                                          const std::optional<OpAmp>& op_amp,
                                          std::span<const double> frequencies_hz, int threads,
                                          const ProgressCallback& progress) {
  GainEnvelope envelope;
  const std::size_t count = frequencies_hz.size();
  envelope.frequencies_hz.assign(frequencies_hz.begin(), frequencies_hz.end());
  envelope.low_db.assign(count, kNoValue);
  envelope.median_db.assign(count, kNoValue);
  envelope.high_db.assign(count, kNoValue);
  if (trials.empty()) return envelope;

  const bool completed = ParallelFor(
      static_cast<std::int64_t>(count), 1, threads,
      [&](std::int64_t begin, std::int64_t end) {
        std::vector<double> power(trials.size());
        for (std::int64_t i = begin; i < end; ++i) {
          const double f = frequencies_hz[static_cast<std::size_t>(i)];
          for (std::size_t t = 0; t < trials.size(); ++t) {
            power[t] = std::norm(CircuitResponse(trials[t].circuit, op_amp, f));
          }
          // The logarithm keeps the order, so the percentiles are selected on |h|^2 and
          // only the order statistics they use are turned into dB: 10,000 logarithms
          // (and square roots) per frequency saved.
          const auto index = static_cast<std::size_t>(i);
          envelope.low_db[index] = PercentileInPlace(power, 0.05, PowerDb);
          envelope.median_db[index] = PercentileInPlace(power, 0.5, PowerDb);
          envelope.high_db[index] = PercentileInPlace(power, 0.95, PowerDb);
        }
      },
      progress, static_cast<std::int64_t>(trials.size()));
  if (!completed) return Diagnostic{Problem::kCancelled};
  return envelope;
}

}  // namespace calc

#include "calc/studies/tolerance_analysis.h"

#include <optional>
#include <utility>

#include "calc/analysis/model_sensitivity.h"

namespace calc {

Outcome<ToleranceAnalysis> RunToleranceAnalysis(const Circuit& circuit,
                                                const ToleranceSettings& settings,
                                                const std::optional<OpAmp>& op_amp,
                                                std::span<const double> envelope_hz,
                                                const ProgressCallback& progress) {
  if (std::optional<Diagnostic> problem = ToleranceSettingsProblem(circuit, settings)) {
    return *std::move(problem);
  }
  ToleranceAnalysis analysis;
  analysis.circuit = circuit;
  analysis.settings = settings;
  analysis.sensitivities = AnalyzeSensitivities(circuit);
  if (op_amp) analysis.model_sensitivities = ModelSensitivities(circuit, *op_amp);
  analysis.worst_case = AnalyzeWorstCase(circuit, settings.tolerances);

  // One scale for both phases: the trials, then one unit per trial response.
  const std::int64_t trials = settings.trials;
  const std::int64_t total = trials + trials * static_cast<std::int64_t>(envelope_hz.size());
  ProgressCallback trial_progress, envelope_progress;
  if (progress) {
    trial_progress = [&](std::int64_t done, std::int64_t) { return progress(done, total); };
    envelope_progress = [&](std::int64_t done, std::int64_t) {
      return progress(trials + done, total);
    };
  }
  // Stopped, the analysis keeps what is whole and says the rest was stopped.
  const auto stopped = [&analysis] {
    analysis.monte_carlo = {};
    analysis.envelope = {};
    analysis.monte_carlo_stopped = true;
    return analysis;
  };
  Outcome<MonteCarloResult> monte_carlo = RunMonteCarlo(circuit, settings, trial_progress);
  if (!monte_carlo) {
    if (monte_carlo.diagnostic().problem == Problem::kCancelled) return stopped();
    return monte_carlo.diagnostic();
  }
  analysis.monte_carlo = *std::move(monte_carlo);
  if (!envelope_hz.empty()) {
    Outcome<GainEnvelope> envelope = ComputeGainEnvelope(
        analysis.monte_carlo.trials, op_amp, envelope_hz, settings.threads, envelope_progress);
    if (!envelope) {
      if (envelope.diagnostic().problem == Problem::kCancelled) return stopped();
      return envelope.diagnostic();
    }
    analysis.envelope = *std::move(envelope);
  }
  return analysis;
}

}  // namespace calc

#include "calc/analysis/headroom.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/analysis/stage_checks.h"
#include "calc/analysis/stage_transfers.h"
#include "calc/text/quantity_format.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

bool Positive(double value) { return value > 0 && std::isfinite(value); }
bool ZeroOrMore(double value) { return value >= 0 && std::isfinite(value); }

// A figure in a warning: three decimals and a prefix letter, without padding ("1.500k").
std::string Shown(double value) { return Utf16ToUtf8(FormatQuantity(value, 0, 3)); }

// The largest of |node(f)| within MeasureResponse's reach of `guess_hz`, read again at the
// frequency found rather than from the decibels; zero for a node that stays at zero.
double LargestMagnitude(const Response& node, double guess_hz) {
  const ResponseFigures peak = MeasureResponse(node, guess_hz);
  return std::isnan(peak.peak_hz) ? 0.0 : std::abs(node(peak.peak_hz));
}

std::optional<Diagnostic> CheckSettings(const HeadroomSettings& settings) {
  if (!Positive(settings.input_amplitude_v)) return Diagnostic{Problem::kInputAmplitude, {}};
  if (!Positive(settings.load_ohm)) return Diagnostic{Problem::kLoad, {}};
  const OutputLimits& output = settings.output;
  if (std::isnan(LargestOutputPeak(output))) return Diagnostic{Problem::kOutputRoom, {}};
  if (!std::isnan(output.slew_v_per_s) && !Positive(output.slew_v_per_s)) {
    return Diagnostic{Problem::kSlewRate, {}};
  }
  if (!std::isnan(output.output_current_a) && !Positive(output.output_current_a)) {
    return Diagnostic{Problem::kOutputCurrent, {}};
  }
  return std::nullopt;
}

}  // namespace

double LargestOutputPeak(const OutputLimits& limits) {
  if (!Positive(limits.supply_v) || !ZeroOrMore(limits.swing_low_v) ||
      !ZeroOrMore(limits.swing_high_v)) {
    return kNoValue;
  }
  const double peak = limits.supply_v / 2 - std::max(limits.swing_low_v, limits.swing_high_v);
  return peak > 0 ? peak : kNoValue;
}

Outcome<Headroom> AnalyzeHeadroom(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                                  const HeadroomSettings& settings,
                                  std::span<const double> frequencies_hz) {
  if (auto fault = CheckStage(circuit, op_amp)) return *fault;
  if (auto fault = CheckSettings(settings)) return *fault;
  if (auto fault = CheckFrequencies(frequencies_hz)) return *fault;
  const Outcome<ResponseFigures> figures = MeasurePeak(circuit, op_amp);
  if (!figures) return figures.diagnostic();

  const double amplitude = settings.input_amplitude_v;
  const auto at = [&](double f) { return ComputeStageTransfers(circuit, op_amp, f); };
  Headroom h;
  h.frequencies_hz.assign(frequencies_hz.begin(), frequencies_hz.end());
  for (const double f : frequencies_hz) {
    const StageTransfers t = at(f);
    h.output_v.push_back(amplitude * std::abs(t.output));
    h.summing_node_v.push_back(amplitude * std::abs(t.summing_node));
    h.inverting_input_v.push_back(amplitude * std::abs(t.inverting_input));
  }

  h.peak_hz = figures->peak_hz;
  const StageTransfers peak = at(h.peak_hz);
  const double peak_gain = std::abs(peak.output);
  const double fo = NaturalFrequency(circuit);
  h.peak_output_v = amplitude * peak_gain;
  h.peak_summing_node_v =
      amplitude * LargestMagnitude([&](double f) { return at(f).summing_node; }, fo);
  h.peak_inverting_input_v =
      amplitude * LargestMagnitude([&](double f) { return at(f).inverting_input; }, fo);
  h.peak_output_current_a =
      amplitude * std::abs(peak.feedback_current + peak.output / settings.load_ohm);
  const OutputLimits& output = settings.output;
  if (!std::isnan(output.output_current_a)) {
    h.current_within = h.peak_output_current_a <= output.output_current_a;
  }

  h.swing_limit_v = LargestOutputPeak(output) / peak_gain;
  if (!std::isnan(output.slew_v_per_s)) {
    h.slew_limit_v = output.slew_v_per_s / RequiredSlewRate(h.peak_hz, figures->peak_gain_db, 1.0);
  }
  h.max_input_v = h.swing_limit_v;
  if (h.slew_limit_v < h.swing_limit_v) {  // false without a slew rate (NaN)
    h.max_input_v = h.slew_limit_v;
    h.limit = HeadroomLimit::kSlew;
  }

  if (amplitude > h.swing_limit_v) {
    h.warnings.push_back({Problem::kInputClips, {Shown(amplitude), Shown(h.swing_limit_v)}});
  }
  if (amplitude > h.slew_limit_v) {
    h.warnings.push_back({Problem::kInputSlews, {Shown(amplitude), Shown(h.slew_limit_v)}});
  }
  if (h.current_within == false) {
    h.warnings.push_back({Problem::kOutputCurrentShort,
                          {Shown(h.peak_output_current_a), Shown(output.output_current_a)}});
  }
  return h;
}

}  // namespace calc

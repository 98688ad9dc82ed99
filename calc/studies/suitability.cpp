#include "calc/studies/suitability.h"

#include <cmath>

#include "calc/analysis/stage_checks.h"

namespace calc {
namespace {

bool Known(double value) { return !std::isnan(value); }

Verdict AtLeast(double figure, double needed) {
  if (!Known(figure) || !Known(needed)) return Verdict::kUnknown;
  return figure >= needed ? Verdict::kMet : Verdict::kMissed;
}

void SetVerdict(PartSuitability& part, Need need, Verdict verdict) {
  part.verdicts[static_cast<int>(need)] = verdict;
}

// The figures of the part's own curve, the required GBW and A0 and the slew rate; the swing
// from the curve's peak.
void HoldToResponse(const SuitabilityInputs& inputs, bool figures_found, const OpAmp& model,
                    PartSuitability& part) {
  const Circuit& circuit = inputs.circuit;
  if (figures_found) {
    part.required_a0 = RequiredA0(circuit, model, inputs.tolerance);
    part.required_gbw_hz = RequiredGbw(circuit, model, inputs.tolerance);
    SetVerdict(part, Need::kA0, AtLeast(model.A0, part.required_a0));
    // An A0 too low for the tolerance leaves no GBW that will do.
    SetVerdict(
        part, Need::kGbw,
        Known(part.required_gbw_hz) ? AtLeast(model.Gbw, part.required_gbw_hz) : Verdict::kMissed);
  }
  const ResponseFigures built = MeasureCircuit(circuit, model);
  part.required_slew_v_per_us =
      RequiredSlewRate(built.peak_hz, built.peak_gain_db, inputs.conditions.input_amplitude_v) /
      1e6;
  SetVerdict(part, Need::kSlew,
             AtLeast(part.op_amp.slew_v_per_s / 1e6, part.required_slew_v_per_us));
  part.output_peak_v =
      inputs.conditions.input_amplitude_v * std::pow(10.0, built.peak_gain_db / 20.0);
}

void HoldToSwing(const SuitabilityInputs& inputs, PartSuitability& part) {
  const StageOpAmp& op_amp = part.op_amp;
  const double supply = inputs.conditions.supply_v;
  if (!Known(op_amp.swing_low_v) || !Known(op_amp.swing_high_v)) return;
  part.largest_output_peak_v = LargestOutputPeak(OutputLimitsOf(op_amp, supply));
  const bool outside_supply = (Known(op_amp.supply_min_v) && supply < op_amp.supply_min_v) ||
                              (Known(op_amp.supply_max_v) && supply > op_amp.supply_max_v);
  if (outside_supply || std::isnan(part.largest_output_peak_v)) {
    SetVerdict(part, Need::kSwing,
               Known(part.output_peak_v) ? Verdict::kMissed : Verdict::kUnknown);
    return;
  }
  SetVerdict(part, Need::kSwing, AtLeast(part.largest_output_peak_v, part.output_peak_v));
}

void HoldToNoise(const SuitabilityInputs& inputs, const OpAmp& model, PartSuitability& part) {
  if (!Known(part.op_amp.en_v_rthz) || !Known(part.op_amp.in_a_rthz)) return;
  // Only the band matters here: no curves.
  NoiseSettings settings;
  settings.temperature_c = inputs.conditions.temperature_c;
  settings.band_low_hz = inputs.conditions.band_low_hz;
  settings.band_high_hz = inputs.conditions.band_high_hz;
  settings.input_amplitude_v = inputs.conditions.input_amplitude_v;
  const Outcome<NoiseAnalysis> noise =
      AnalyzeNoise(inputs.circuit, model, OpAmpNoiseOf(part.op_amp), settings, {});
  if (!noise) return;
  part.op_amp_noise_share = noise->share[kNoiseEn] + noise->share[kNoiseIn];
  SetVerdict(part, Need::kNoise,
             part.op_amp_noise_share <= kMostOpAmpNoiseShare ? Verdict::kMet : Verdict::kMissed);
}

}  // namespace

std::string_view VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::kMet:
      return "pass";
    case Verdict::kMissed:
      return "fail";
    case Verdict::kUnknown:
      return "unknown";
  }
  return "";
}

bool PartSuitability::MeetsAll() const {
  for (const Verdict verdict : verdicts) {
    if (verdict != Verdict::kMet) return false;
  }
  return true;
}

Outcome<std::vector<PartSuitability>> RunSuitabilityStudy(const SuitabilityInputs& inputs,
                                                          std::span<const OpAmpPart> parts) {
  if (auto fault = CheckStage(inputs.circuit, std::nullopt)) return *fault;
  const Outcome<ResponseFigures> ideal = MeasurePeak(inputs.circuit, std::nullopt);
  if (!ideal) return ideal.diagnostic();
  if (!(inputs.tolerance > 0.0 && inputs.tolerance < 1.0)) {
    return Diagnostic{Problem::kResponseTolerance, {}};
  }
  const bool figures_found = AllFiguresFound(MeasureCircuit(inputs.circuit, std::nullopt));
  std::vector<PartSuitability> list;
  list.reserve(parts.size());
  for (const OpAmpPart& catalogue_part : parts) {
    PartSuitability part;
    part.op_amp = StageOpAmpOf(catalogue_part);
    part.verdicts.fill(Verdict::kUnknown);
    if (const std::optional<OpAmp> model = OpAmpModelOf(part.op_amp);
        model && !CheckStage(inputs.circuit, model)) {
      HoldToResponse(inputs, figures_found, *model, part);
      HoldToSwing(inputs, part);
      HoldToNoise(inputs, *model, part);
    }
    list.push_back(std::move(part));
  }
  return list;
}

}  // namespace calc

// Which catalogue parts suit the circuit: each part held to the circuit's needs with its
// own figures (its A0 and Cin change the GBW it needs), each need met, missed or unknown
// where the catalogue leaves a figure blank, which is never counted as met.
#ifndef KORVANE_CALC_STUDIES_SUITABILITY_H
#define KORVANE_CALC_STUDIES_SUITABILITY_H

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "calc/circuit/circuit.h"
#include "calc/circuit/op_amp_part.h"
#include "calc/studies/stage_op_amp.h"
#include "calc/studies/stage_study.h"
#include "calc/text/outcome.h"

namespace calc {

// The needs, in the order of every per-need array, and their names in korvane-cli's output.
enum class Need : int { kGbw, kA0, kSlew, kSwing, kNoise };
inline constexpr int kNeedCount = 5;
inline constexpr std::array<std::string_view, kNeedCount> kNeedNames = {"gbw", "a0", "slew",
                                                                        "swing", "noise"};

enum class Verdict { kMet, kMissed, kUnknown };
std::string_view VerdictName(Verdict verdict);  // "pass", "fail", "unknown"

struct PartSuitability {
  StageOpAmp op_amp;  // the part's figures (StageOpAmpOf)
  std::array<Verdict, kNeedCount> verdicts{};
  // What the part is held to, with its own A0 and Cin: the lowest GBW and A0 that keep the
  // figures within the tolerance (no GBW when the A0 falls short), the slew rate at the
  // peak of the part's curve in V/us, the output peak the amplitude gives there against the
  // largest unclipped one, and the op-amp's share of the band's output noise power.
  double required_gbw_hz = kNoValue;
  double required_a0 = kNoValue;
  double required_slew_v_per_us = kNoValue;
  double output_peak_v = kNoValue;
  double largest_output_peak_v = kNoValue;
  double op_amp_noise_share = kNoValue;

  Verdict Of(Need need) const { return verdicts[static_cast<int>(need)]; }
  bool MeetsAll() const;  // every need met
};

struct SuitabilityInputs {
  Circuit circuit;
  StageConditions conditions;
  double tolerance = 0.01;  // as the response study's required GBW and A0
};

// The op-amp's noise need: its voltage and current noise together add no more output noise
// power over the band than the resistors do, so the op-amp at most doubles the noise power
// (+3 dB) the circuit's impedance level sets. A quieter op-amp buys little below that; one
// louder than the resistors wastes what the impedance level was chosen for.
inline constexpr double kMostOpAmpNoiseShare = 0.5;

// Each part of `parts`, in their order, held to the needs of `inputs`; or the diagnostic of
// a circuit or conditions the analyses cannot take. The swing need is missed also when the
// supply lies outside the part's supply range; a part without a GBW or an A0 leaves every
// need that depends on its curve unknown.
Outcome<std::vector<PartSuitability>> RunSuitabilityStudy(const SuitabilityInputs& inputs,
                                                          std::span<const OpAmpPart> parts);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_SUITABILITY_H

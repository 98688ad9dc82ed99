// The stage's noise and headroom as studies: the circuit, the op-amp as picked or typed
// (StageOpAmp) and the conditions it works in, turned into the analyses' inputs by one rule
// (stage_op_amp.h), so that the window's 雑音 page, its response page and korvane-cli's
// noise and response show the same figures.
#ifndef KORVANE_CALC_STUDIES_STAGE_STUDY_H
#define KORVANE_CALC_STUDIES_STAGE_STUDY_H

#include "calc/analysis/headroom.h"
#include "calc/analysis/noise.h"
#include "calc/circuit/circuit.h"
#include "calc/numeric/quantity.h"
#include "calc/studies/response_study.h"
#include "calc/studies/stage_op_amp.h"
#include "calc/text/outcome.h"

namespace calc {

// Where and how the stage works.
struct StageConditions {
  double supply_v = 30.0;          // the total span between the rails: +-15 V
  double input_amplitude_v = 1.0;  // the input sine's peak
  double load_ohm = 10e3;
  double temperature_c = 25.0;
  // The noise band; no value: fo / 10 and 10 fo.
  double band_low_hz = kNoValue, band_high_hz = kNoValue;
};

struct StageInputs {
  Circuit circuit;
  StageOpAmp op_amp;  // without a GBW and an A0 the op-amp is ideal (OpAmpModelOf)
  StageConditions conditions;
  FrequencyGrid grid;  // no ends: DefaultFrequencyGrid's
};

// The frequencies the curves are computed at: the grid's, or two decades either side of fo.
std::vector<double> StageFrequencies(const StageInputs& inputs);

// The noise of the stage (AnalyzeNoise), or its diagnostic.
Outcome<NoiseAnalysis> RunNoiseStudy(const StageInputs& inputs);

// The headroom of the stage (AnalyzeHeadroom), or its diagnostic.
Outcome<Headroom> RunHeadroomStudy(const StageInputs& inputs);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_STAGE_STUDY_H

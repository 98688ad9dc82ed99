#include "calc/studies/stage_study.h"

#include <cmath>

namespace calc {

std::vector<double> StageFrequencies(const StageInputs& inputs) {
  FrequencyGrid grid = DefaultFrequencyGrid(inputs.circuit);
  if (!std::isnan(inputs.grid.from_hz)) grid.from_hz = inputs.grid.from_hz;
  if (!std::isnan(inputs.grid.to_hz)) grid.to_hz = inputs.grid.to_hz;
  grid.points = inputs.grid.points;
  if (!(grid.from_hz > 0 && grid.to_hz > grid.from_hz && grid.points >= 2 &&
        grid.points <= kMostResponsePoints)) {
    return {};
  }
  return LogFrequencies(grid.from_hz, grid.to_hz, grid.points);
}

Outcome<NoiseAnalysis> RunNoiseStudy(const StageInputs& inputs) {
  const StageConditions& c = inputs.conditions;
  NoiseSettings settings;
  settings.temperature_c = c.temperature_c;
  settings.band_low_hz = c.band_low_hz;
  settings.band_high_hz = c.band_high_hz;
  settings.input_amplitude_v = c.input_amplitude_v;
  settings.output = OutputLimitsOf(inputs.op_amp, c.supply_v);
  return AnalyzeNoise(inputs.circuit, OpAmpModelOf(inputs.op_amp), OpAmpNoiseOf(inputs.op_amp),
                      settings, StageFrequencies(inputs));
}

Outcome<Headroom> RunHeadroomStudy(const StageInputs& inputs) {
  const StageConditions& c = inputs.conditions;
  HeadroomSettings settings;
  settings.input_amplitude_v = c.input_amplitude_v;
  settings.load_ohm = c.load_ohm;
  settings.output = OutputLimitsOf(inputs.op_amp, c.supply_v);
  return AnalyzeHeadroom(inputs.circuit, OpAmpModelOf(inputs.op_amp), settings,
                         StageFrequencies(inputs));
}

}  // namespace calc

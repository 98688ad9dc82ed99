#include "ui/response/response_data.h"

namespace ui {

calc::ResponseInputs StudyInputs(const ResponseSubject& subject, const OpAmpSettings& settings,
                                 int points) {
  calc::ResponseInputs inputs;
  inputs.circuit = subject.circuit;
  inputs.target = subject.target;
  inputs.op_amp = settings.op_amp;
  inputs.slew_v_per_us = settings.slew_v_per_us;
  inputs.input_amplitude_v = settings.input_amplitude_v;
  inputs.tolerance = settings.tolerance;
  inputs.grid.points = points;
  return inputs;
}

calc::StageInputs StageInputsOf(const ResponseSubject& subject, const OpAmpSettings& settings,
                                int points) {
  calc::StageInputs inputs;
  inputs.circuit = subject.circuit;
  inputs.op_amp = settings.figures;
  inputs.conditions = settings.conditions;
  inputs.grid.points = points;
  return inputs;
}

calc::Outcome<ResponseData> ComputeResponseData(const ResponseSubject& subject,
                                                const OpAmpSettings& settings, int points) {
  return calc::RunResponseStudy(StudyInputs(subject, settings, points));
}

}  // namespace ui

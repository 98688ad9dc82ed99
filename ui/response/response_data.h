// What the response window shows is the core's response study (calc/studies/
// response_study.h) of the main window's subject with the panel's op-amp settings; this
// header only gives it the window's names and turns the settings into the study's inputs.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_DATA_H
#define KORVANE_UI_RESPONSE_RESPONSE_DATA_H

#include "calc/analysis/response.h"
#include "calc/studies/response_study.h"
#include "calc/text/outcome.h"
#include "ui/main_window/response_view.h"

namespace ui {

// The panel's settings, as numbers. The window always has an op-amp.
struct OpAmpSettings {
  calc::OpAmp op_amp{};            // A0 and GBW of the chosen op-amp
  double slew_v_per_us = 13.0;     // its slew rate
  double input_amplitude_v = 1.0;  // peak of the input sine
  double tolerance = 0.01;         // 0.01 = 1 %
};

using ResponseData = calc::ResponseStudy;
using Curve = calc::ResponseCurve;
using CurveKind = calc::CurveKind;
using calc::kCurveKinds;
inline constexpr int kResponsePoints = calc::kDefaultResponsePoints;

// The study's inputs: `subject`'s circuit and target, the settings, and `points`
// frequencies over the default grid (calc::DefaultFrequencyGrid: whole decades about fo).
calc::ResponseInputs StudyInputs(const ResponseSubject& subject, const OpAmpSettings& settings,
                                 int points = kResponsePoints);

// The study of StudyInputs(subject, settings, points).
calc::Outcome<ResponseData> ComputeResponseData(const ResponseSubject& subject,
                                                const OpAmpSettings& settings,
                                                int points = kResponsePoints);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_DATA_H

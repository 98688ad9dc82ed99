// The numbers the response window shows, worked out from the subject and the op-amp
// settings: the curves on one logarithmic frequency grid, the figures measured on each
// curve, and what the circuit asks of its op-amp. No widgets, so a benchmark and the tests
// see exactly what the window draws.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_DATA_H
#define KORVANE_UI_RESPONSE_RESPONSE_DATA_H

#include <optional>
#include <string>
#include <vector>

#include "calc/analysis/response.h"
#include "ui/main_window/response_view.h"

namespace ui {

// The panel's settings, as numbers.
struct OpAmpSettings {
  calc::OpAmp op_amp{};            // A0 and GBW of the chosen op-amp
  double slew_v_per_us = 13.0;     // its slew rate
  double input_amplitude_v = 1.0;  // peak of the input sine
  double tolerance = 0.01;         // 0.01 = 1 %
};

enum class CurveKind { kTarget, kIdeal, kOpAmp };
inline constexpr int kCurveKinds = 3;

struct Curve {
  CurveKind kind;
  std::vector<double> gain_db;    // one per frequency of the grid
  std::vector<double> phase_deg;  // (-180, 180]
  calc::ResponseFigures figures;
};

struct ResponseData {
  std::vector<double> frequencies_hz;  // the grid, ascending
  std::vector<Curve> curves;           // present ones in CurveKind order
  double required_gbw_hz = calc::kNoValue;
  double required_slew_v_per_us = calc::kNoValue;
  bool gbw_short = false;   // the chosen op-amp's GBW is below the required one
  bool slew_short = false;  // its slew rate is below the required one

  const Curve* Find(CurveKind kind) const;
};

// The default grid: two decades either side of the circuit's fo.
inline constexpr int kResponsePoints = 400;
inline constexpr double kDecadesEitherSide = 2.0;

// Curves and figures of `subject` on `points` frequencies spread logarithmically over two
// decades either side of the analysed fo; the target curve only when the subject has one.
ResponseData ComputeResponseData(const ResponseSubject& subject, const OpAmpSettings& settings,
                                 int points = kResponsePoints);

// The curves as CSV: a header "frequency_hz" then "<curve>_gain_db,<curve>_phase_deg" per
// present curve (target, ideal, opamp), and one row per frequency, numbers in shortest
// round-trip form.
std::string CurvesCsv(const ResponseData& data);

// The name a curve goes by in files: "target", "ideal", "opamp".
const char* CurveFileName(CurveKind kind);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_DATA_H

// The response study: a circuit's frequency response with an ideal op-amp and with the
// chosen one, beside the wanted (target) band-pass, the figures of each curve and what the
// circuit asks of its op-amp. The window's response page and `korvane-cli response` show
// this one value; neither computes a figure of its own.
//
// Every study in this room has the same shape: plain inputs (`...Inputs`), one function
// `Run...Study` that returns `Outcome<...Study>` (the value, or the diagnostic that says
// why there is none), and in the value the diagnostics of what the result falls short of,
// which a front end shows as warnings. The rules a front end must apply the same way sit
// beside the study as functions named after them.
#ifndef KORVANE_CALC_STUDIES_RESPONSE_STUDY_H
#define KORVANE_CALC_STUDIES_RESPONSE_STUDY_H

#include <optional>
#include <string_view>
#include <vector>

#include "calc/analysis/op_amp_reach.h"
#include "calc/analysis/response.h"
#include "calc/circuit/circuit.h"
#include "calc/text/diagnostic.h"
#include "calc/text/outcome.h"

namespace calc {

// The frequencies the curves are computed at: `points` spaced logarithmically from
// `from_hz` to `to_hz`, both included. Without from and to, the four whole decades about
// the circuit's fo (DefaultFrequencyGrid), with `points` rounded up so that every decade
// is a point (400 give 401).
inline constexpr int kDefaultResponsePoints = 400;
inline constexpr int kMostResponsePoints = 1'000'000;
inline constexpr double kDecadesEitherSide = 2.0;
struct FrequencyGrid {
  double from_hz = kNoValue, to_hz = kNoValue;
  int points = kDefaultResponsePoints;
};

struct ResponseInputs {
  Circuit circuit;
  std::optional<TransferFunction> target;  // the wanted band-pass, when there is one
  std::optional<OpAmp> op_amp;             // without one, only the ideal circuit is drawn
  double slew_v_per_us = kNoValue;         // the op-amp's slew rate; no value: not checked
  double input_amplitude_v = 1.0;          // peak of the input sine, for the slew rate
  double tolerance = 0.01;                 // 0.01 = 1 %, for the required GBW and A0
  FrequencyGrid grid;
};

enum class CurveKind { kTarget, kIdeal, kOpAmp };
inline constexpr int kCurveKinds = 3;

// The name a curve goes by in files and in korvane-cli's output: "target", "ideal", "opamp".
std::string_view CurveName(CurveKind kind);

struct ResponseCurve {
  CurveKind kind;
  std::vector<double> gain_db;    // one per frequency of the grid
  std::vector<double> phase_deg;  // (-180, 180]
  ResponseFigures figures;
};

struct ResponseStudy {
  std::vector<double> frequencies_hz;  // the grid, ascending
  std::vector<ResponseCurve> curves;   // the present ones in CurveKind order
  // With an op-amp: the lowest GBW and A0 that hold the figures to the tolerance
  // (RequiredGbw, RequiredA0); no value without one, or where there is none.
  double required_gbw_hz = kNoValue;
  double required_a0 = kNoValue;
  double required_slew_v_per_us = kNoValue;  // at the peak of BuiltCircuitCurve
  // What the op-amp falls short of, as warnings: kA0Short (then no GBW will do), kGbwShort,
  // kSlewShort, kFiguresNotFound; each with the required figure as the window shows it.
  std::vector<Diagnostic> shortfalls;
  // With kGbwShort, how far the op-amp reaches (kGbwShortReach says it); else no values.
  OpAmpReach reach;

  const ResponseCurve* Find(CurveKind kind) const;
  bool FallsShort(Problem problem) const;
};

// The default grid: from the decade nearest fo / 100 to the one nearest fo x 100 (fo the
// circuit's NaturalFrequency), kDefaultResponsePoints rounded up by DecadeAlignedPoints; a
// 995.8 Hz circuit gets 10 Hz to 100 kHz in 401 points, 10, 100, 1k, 10k and 100k among them.
FrequencyGrid DefaultFrequencyGrid(const Circuit& circuit);

// The fewest points, at least `points`, that split `decades` whole decades into equal
// steps with a whole number of steps in each decade: decades x ceil((points - 1) / decades)
// + 1. `points` itself below 2 or without a decade.
int DecadeAlignedPoints(int points, int decades);

// The target's figures exact, from its formula rather than measured: the target is what
// the other curves are judged against, so it carries no measuring error. Its -3 dB
// frequencies solve |H(f)| = H / sqrt 2: fo (sqrt(1 + 1 / (4 Q^2)) -+ 1 / (2 Q)); its phase
// at the peak is 180 degrees (the circuit inverts).
// (1000, 1, 1) -> peak 1000, low 618.0339887498948, high 1618.0339887498948, bandwidth 1000.
ResponseFigures TargetFigures(const TransferFunction& target);

// The curve of the circuit that will be built, whose peak sets the slew rate: the op-amp's
// curve when the study has an op-amp, the ideal circuit's otherwise.
const ResponseCurve& BuiltCircuitCurve(const ResponseStudy& study);

// The curve of `circuit` as it will be built, on the op-amp (kOpAmp) or ideal (kIdeal), on
// `frequencies_hz`, with its figures measured as the study measures its own: a set of parts
// drawn beside the circuit a study shows, without the study's requirements.
ResponseCurve BuiltCurve(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const std::vector<double>& frequencies_hz);

// The tolerance of the required GBW and A0, as typed: a percentage (ParsePercent, a bare
// number is per cent too) above 0 and below 100, else kResponseTolerance.
// ParseResponseTolerance(u"1") -> 0.01; ParseResponseTolerance(u"0.01%") -> 0.0001;
// ParseResponseTolerance(u"100") -> kResponseTolerance.
Outcome<double> ParseResponseTolerance(std::u16string_view text);

// The grid the study computes on: the inputs' ends where they have values, the default
// grid's otherwise, and the inputs' points.
FrequencyGrid StudyGrid(const ResponseInputs& inputs);

// The first of the inputs the study cannot work with, or none: kNoCentreFrequency for a
// circuit without a finite positive fo, kOptionNotPositive for a setting that is not a
// positive finite number (named as korvane-cli's option: gbw, a0, slew, from, to,
// amplitude), kFrequencyOrder when the grid's ends are not ascending, kPointCount for fewer
// than 2 or more than kMostResponsePoints points, kResponseTolerance for a tolerance
// outside (0, 1).
std::optional<Diagnostic> ResponseInputsProblem(const ResponseInputs& inputs);

// The study, or ResponseInputsProblem's diagnostic.
Outcome<ResponseStudy> RunResponseStudy(const ResponseInputs& inputs);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_RESPONSE_STUDY_H

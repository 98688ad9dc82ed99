// Why a study, or the reading of its settings, gives no result, and the warnings a result
// carries: typed problems whose texts the user reads come from one table (diagnostic.cpp),
// a Japanese text for the window and an English one for korvane-cli, and whether it is a
// warning or an error.
#ifndef KORVANE_CALC_TEXT_DIAGNOSTIC_H
#define KORVANE_CALC_TEXT_DIAGNOSTIC_H

#include <string>
#include <string_view>
#include <vector>

namespace calc {

// Each problem names what went wrong closely enough that its texts need only the values
// involved (a typed text, a required figure), filled into "{0}", "{1}", ... in the texts.
// Add a problem here and its row in the table; a test checks that every row is there.
enum class Problem {
  kCancelled,  // the user stopped the run

  // Readers of typed settings, before a front end names the setting: {0} the text.
  kNotANumber,
  kNotPositive,
  // A setting of a front end: {0} its name (the window's label, korvane-cli's option
  // without "--"), {1} the text as typed.
  kFieldNotPositive,
  kOptionNotPositive,
  kNotUtf8,  // {0} the input's name

  // The tolerance analysis' settings, in the order they are checked.
  kTolerancePartsMissing,
  kToleranceCircuit,
  kToleranceMissing,
  kToleranceRange,
  kTrialCount,
  kSeed,
  kYieldLimit,
  kToleranceOpAmp,

  // The design command's own warning or error, where a study's circuit comes from it:
  // {0} its text as the command writes it.
  kDesignWarning,
  kDesignError,

  // The response study's settings.
  kNoCentreFrequency,
  kFrequencyOrder,
  kPointCount,         // {0} the most points
  kResponseTolerance,  // {0} the text as typed
  // What the response study finds the op-amp lacks: {0} the required figure as shown.
  kGbwShort,
  kA0Short,
  kSlewShort,
  kFiguresNotFound,  // no -3 dB points on the ideal curve: nothing to hold the op-amp to

  // korvane-cli's batch rows.
  kLockCell,
  kUnterminatedCell,
  kCellCount,  // {0} the row's number, {1} its cells, {2} the header's

  // Reading an op-amp catalogue file. Details: the file, then the line, then for a cell its
  // column's number and name and the cell's text (cut short), then what else the text says.
  kCatalogueNotFound,       // the places looked in
  kCatalogueUnreadable,     // file
  kCatalogueTooLarge,       // file, the largest size read
  kCatalogueEmpty,          // file
  kCatalogueHeader,         // file, line, column, the name wanted there, the text found
  kCatalogueHeaderColumns,  // file, line, the header's column count, the count wanted
  kCatalogueLineTooLong,    // file, line, the longest row read
  kCatalogueUnterminated,   // file, line
  kCatalogueMissingColumn,  // file, line, column, name
  kCatalogueExtraColumn,    // file, line, column, the header's column count
  kCatalogueNotUtf8,        // file, line, column, name
  kCatalogueNoName,         // file, line, column, name
  kCatalogueNotNumber,      // file, line, column, name, text
  kCatalogueNotPositive,    // file, line, column, name, text
  kCatalogueNegative,       // file, line, column, name, text
  kCatalogueNotYesNo,       // file, line, column, name, text
  kCatalogueNotCount,       // file, line, column, name, text
  kCatalogueSupplyRange,    // file, line, column, name, text (below supply_min_v)
  kCatalogueDuplicate,      // file, line, the name, the line that has it first

  // What the stage's analyses (noise, headroom) are given.
  kStageParts,           // a part that is not a positive number
  kOpAmpFigures,         // A0 or GBW not positive, Cin negative
  kAnalysisFrequencies,  // a frequency that is not positive
  kNoPeak,               // the response has no peak to measure
  kNoiseTemperature,     // at or below absolute zero
  kNoiseFigures,         // a negative noise density or corner
  kNoiseBand,            // not two positive frequencies, the lower first
  kInputAmplitude,       // not positive
  kLoad,                 // not positive
  kOutputRoom,           // the supply less the swing leaves nothing
  kSlewRate,             // given, but not positive
  kOutputCurrent,        // given, but not positive

  // Warnings of the headroom. Details: figures as shown.
  kInputClips,          // the amplitude, the largest unclipped one
  kInputSlews,          // the amplitude, the largest one the slew rate allows
  kOutputCurrentShort,  // the peak output current, the op-amp's

  // The joint search of preferred values: its inputs ({0}: the quantity's name), then what
  // its result warns of.
  kSearchValueNotPositive,      // fo, Q, H, Zref, a locked C2, GBW or A0 not a positive number
  kSearchCinNegative,           // an input capacitance below zero or no number
  kSearchSeriesNotStandard,     // {0} R or C: not E3 ... E192 or unsnapped
  kSearchAllowanceNotPositive,  // {0} fo, Q or H
  kSearchStepsOutOfRange,       // the search width k outside 0 ... 6
  kSearchTopOutOfRange,         // the number of sets N outside 1 ... 1000
  kSearchToleranceOutOfRange,   // {0} the part: its tolerance outside 0 % ... below 100 %
  kSearchTrialsOutOfRange,      // the trial count outside 1 ... 1,000,000
  kSearchArithmeticFault,       // {0} the FloatError's message: values beyond a double's range
  kSearchNoContinuousDesign,    // the design's capacitors cannot reach the target on the op-amp
  kSearchNoPairReachesTarget,   // no capacitor pair can: only the design's own set is left
  kSearchYieldTooLarge,         // {0} the sets (N + 1), {1} the trials, {2} the most in all

  // Beside kGbwShort, what this GBW can still serve (OpAmpReach), as shown: {0} the
  // circuit's fo, {1} the highest Q there, {2} the circuit's Q, {3} the highest fo at it.
  kGbwShortReach,
  // The stage's settings as typed (ReadStageSetting). Details: the option, the label, the
  // text; for kSettingTooLarge also the largest value.
  kSettingEmpty,
  kSettingNotNumber,
  kSettingNotPositive,
  kSettingNegative,
  kSettingTemperature,  // at or below absolute zero
  kSettingTooLarge,

  // The op-amp chosen by name: {0} the name; for kUnknownOpAmpNear {1} the nearest names
  // ("TL072, TL082"), for kOpAmpLacksFigure {1} the figure's option.
  kUnknownOpAmp,
  kUnknownOpAmpNear,
  kOpAmpLacksFigure,

  kCount  // the number of problems; not a problem
};

// How a front end shows a problem: a warning asks for other input (the window's warning
// box), an error says that something could not be done (the error box); korvane-cli
// writes "warning: " or "error: " before the text.
enum class Severity { kError, kWarning };

struct Diagnostic {
  Problem problem = Problem::kCancelled;
  std::vector<std::string> details = {};  // UTF-8, in the order of the texts' {0}, {1}, ...

  friend bool operator==(const Diagnostic&, const Diagnostic&) = default;
};

Severity SeverityOf(Problem problem);

// The window's text of `diagnostic` (Japanese), its details filled in.
std::u16string WindowText(const Diagnostic& diagnostic);

// korvane-cli's text of `diagnostic` (English, one line), its details filled in.
std::string CliText(const Diagnostic& diagnostic);

// Fills "{0}", "{1}", ... in `pattern` with `details` (a placeholder without a detail
// stays as written). FillDetails("needs {0}, not '{1}'", {"a", "b"}) -> "needs a, not 'b'".
std::string FillDetails(std::string_view pattern, const std::vector<std::string>& details);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_DIAGNOSTIC_H

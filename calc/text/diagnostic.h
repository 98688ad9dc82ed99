// Why a study, or the reading of its settings, gives no result, and the warnings a result
// carries: typed problems whose texts the user reads come from one table (diagnostic.cpp),
// a Japanese text for the window and an English one for korvane-cli.
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
  kCount                        // the number of problems; not a problem
};

struct Diagnostic {
  Problem problem = Problem::kCancelled;
  std::vector<std::string> details;  // UTF-8, in the order of the texts' {0}, {1}, ...

  friend bool operator==(const Diagnostic&, const Diagnostic&) = default;
};

// The window's text of `diagnostic` (Japanese), its details filled in.
std::u16string WindowText(const Diagnostic& diagnostic);

// korvane-cli's text of `diagnostic` (English, one line), its details filled in.
std::string CliText(const Diagnostic& diagnostic);

// Fills "{0}", "{1}", ... in `pattern` with `details` (a placeholder without a detail
// stays as written). FillDetails("needs {0}, not '{1}'", {"a", "b"}) -> "needs a, not 'b'".
std::string FillDetails(std::string_view pattern, const std::vector<std::string>& details);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_DIAGNOSTIC_H

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
  kCount       // the number of problems; not a problem
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

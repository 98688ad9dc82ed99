// The two commands run from the texts a user would type into the window, with the outcome
// the window would show: the result fields' texts, the full values, the warning or error.
#ifndef KORVANE_CLI_TEXT_COMMANDS_H
#define KORVANE_CLI_TEXT_COMMANDS_H

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/circuit/circuit.h"
#include "cli/output_keys.h"

namespace cli {

// The design's inputs as typed (UTF-8); the defaults are the window's start-up texts.
// `lock` is the Lock box: keep the typed C2.
struct DesignInput {
  std::string fo = "1k", q = "1.0", h = "1.0", zref = "10k";
  std::string series_r = "24", series_c = "6";
  bool lock = false;
  std::string c2;
};

// The analysis' inputs as typed (UTF-8); an empty R2 leaves R2 out.
struct AnalysisInput {
  std::string r1, r2, r3, c1, c2;
};

// One result field after the run: the text the window shows in it and the full value the
// run computed for it (no value when the run ended without results).
struct ResultField {
  std::string_view name;
  std::string text;
  double value = calc::kNoValue;
};

struct CommandOutcome {
  std::vector<ResultField> results;  // in the order of the names below
  std::string warning;               // the warning box's text (CR LF kept), or empty
  std::string error;                 // the error box's text, or empty
  std::string report;                // the report (CR LF line ends) when results are shown

  bool Clean() const { return warning.empty() && error.empty(); }
};

inline constexpr std::array<std::string_view, 8> kDesignResultNames = {
    keys::kParts[0], keys::kParts[1], keys::kParts[2], keys::kParts[3],
    keys::kParts[4], keys::kFo,       keys::kQ,        keys::kH};
inline constexpr std::array<std::string_view, 3> kAnalysisResultNames = {keys::kFo, keys::kQ,
                                                                         keys::kH};

// Whether the outcome carries the report; a batch prints none and spares its cost.
enum class Report { kBuild, kSkip };

// As the design button in a window freshly opened, with these inputs typed (and nothing
// typed in the component fields but C2). Texts that are not UTF-8 give an error.
CommandOutcome RunDesign(const DesignInput& input, Report report = Report::kBuild);

// As the analysis button in a window freshly opened, with these component texts typed.
CommandOutcome RunAnalysis(const AnalysisInput& input, Report report = Report::kBuild);

}  // namespace cli

#endif  // KORVANE_CLI_TEXT_COMMANDS_H

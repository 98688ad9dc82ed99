// What a single run prints: the report as text, or the whole outcome as JSON or CSV.
#ifndef KORVANE_CLI_SINGLE_OUTPUT_H
#define KORVANE_CLI_SINGLE_OUTPUT_H

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "calc/text/diagnostic.h"
#include "cli/text_commands.h"

namespace cli {

enum class Format { kText, kJson, kCsv };

// The inputs by column name, as typed.
using NamedInputs = std::vector<std::pair<std::string, std::string>>;

// Writes the outcome in `format` to `out` and its warning or error, with LF line ends, to
// `errors`. Text is the report with LF line ends (nothing when there are no results).
// Returns the exit code: 0 clean, 1 a warning or an error.
int PrintOutcome(std::string_view command, const NamedInputs& inputs, const CommandOutcome& outcome,
                 Format format, std::ostream& out, std::ostream& errors);

// The text with each CR LF as LF, for a terminal.
std::string WithLfLineEnds(std::string_view text);

// Writes "warning: " or "error: " (by the problem's severity), the diagnostic's text with
// LF line ends, and a line end to `errors`.
void WriteDiagnostic(const calc::Diagnostic& diagnostic, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_SINGLE_OUTPUT_H

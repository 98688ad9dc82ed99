// The batch mode: one run per CSV row of standard input, one output row per input row.
#ifndef KORVANE_CLI_BATCH_BATCH_H
#define KORVANE_CLI_BATCH_BATCH_H

#include <istream>
#include <ostream>

namespace cli {

enum class Command { kDesign, kAnalysis };

// Reads CSV with a header naming the command's input columns (in any order, each once),
// runs the command on every row, and writes CSV: every input column as given, then the
// result columns. A row that cannot run (cells missing or too many, a bad Lock cell, text
// that is not UTF-8, an unfinished quote) gets an output row with its error; no row is
// dropped and the order is kept. Rows are worked on in parallel.
// Returns the exit code: 0 all rows clean, 1 a warning or error in some row (or no rows at
// all), 2 the header is missing or names unknown, repeated or too few columns (then a
// one-line message goes to `errors` and nothing to `out`).
int RunBatch(Command command, std::istream& in, std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_BATCH_BATCH_H

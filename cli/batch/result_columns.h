// The columns a run adds after its inputs, shared by the batch and the single-run CSV.
#ifndef KORVANE_CLI_BATCH_RESULT_COLUMNS_H
#define KORVANE_CLI_BATCH_RESULT_COLUMNS_H

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/text_commands.h"

namespace cli {

// "<name>_result" for each result, then "<name>_value" for each, then "warning", "error".
std::vector<std::string> ResultColumnNames(std::span<const std::string_view> result_names);

// Appends the cells of those columns for one outcome to a CSV line, each after a comma:
// the texts as shown (leading blanks included), the full doubles in shortest round-trip
// form (empty for no value), the warning and the error. Written in place, since a batch
// writes millions of them.
void AppendResultCsvFields(std::string& line, const CommandOutcome& outcome);

}  // namespace cli

#endif  // KORVANE_CLI_BATCH_RESULT_COLUMNS_H

// Reading CSV (RFC 4180) as a stream of records, through libcsv.
#ifndef KORVANE_CLI_BATCH_CSV_READER_H
#define KORVANE_CLI_BATCH_CSV_READER_H

#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace cli {

using CsvRecord = std::vector<std::string>;

// Calls `on_record` for each record of `input` in order, as soon as it is complete. Fields
// keep their spaces; blank lines are no records. A quoted field still open at the end of
// the input is handed over with `unterminated` set (the input ended inside it). Returns
// false only when the input could not be read or memory ran out.
bool ReadCsv(std::istream& input,
             const std::function<void(CsvRecord&& record, bool unterminated)>& on_record);

}  // namespace cli

#endif  // KORVANE_CLI_BATCH_CSV_READER_H

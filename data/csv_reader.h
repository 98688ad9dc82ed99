// Reading CSV (RFC 4180) as a stream of records, through libcsv: the batch's rows and the
// op-amp catalogue.
#ifndef KORVANE_DATA_CSV_READER_H
#define KORVANE_DATA_CSV_READER_H

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace data {

using CsvRecord = std::vector<std::string>;

// Calls `on_record` for each record of `input` in order, as soon as it is complete, with the
// line it starts on (1 for the first; LF, CR LF and a lone CR each end a line, also inside
// a quoted field). Fields keep their spaces; blank lines are no records. A quoted field
// still open at the end of the input is handed over with `unterminated` set (the input ended
// inside it). Returns false only when the input could not be read or memory ran out.
bool ReadCsvLines(
    std::istream& input,
    const std::function<void(CsvRecord&& record, std::int64_t line, bool unterminated)>& on_record);

// ReadCsvLines for a reader that needs no line numbers.
bool ReadCsv(std::istream& input,
             const std::function<void(CsvRecord&& record, bool unterminated)>& on_record);

}  // namespace data

#endif  // KORVANE_DATA_CSV_READER_H

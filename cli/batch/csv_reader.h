// The batch reads its rows with the CSV reader it shares with the op-amp catalogue.
#ifndef KORVANE_CLI_BATCH_CSV_READER_H
#define KORVANE_CLI_BATCH_CSV_READER_H

#include "data/csv_reader.h"

namespace cli {

using data::CsvReader;
using data::CsvRecord;
using data::CsvRecordRead;
using data::ReadCsv;

}  // namespace cli

#endif  // KORVANE_CLI_BATCH_CSV_READER_H

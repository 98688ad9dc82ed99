// Reading CSV (RFC 4180) as a stream of records, through libcsv.
#ifndef KORVANE_CLI_BATCH_CSV_READER_H
#define KORVANE_CLI_BATCH_CSV_READER_H

#include <cstddef>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct csv_parser;

namespace cli {

using CsvRecord = std::vector<std::string>;

struct CsvRecordRead {
  CsvRecord fields;
  // The input ended inside a quoted field of this record, the last one.
  bool unterminated = false;
};

// Hands out the records of `input` one at a time, reading it a block at a time, so that a
// long input is never held whole. Fields keep their spaces; blank lines are no records. A
// quoted field still open at the end of the input comes with its record, marked
// unterminated.
class CsvReader {
 public:
  explicit CsvReader(std::istream& input);
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // The next record, or none at the end of the input or once it could not be read.
  std::optional<CsvRecordRead> Next();
  // The input could not be read to its end, or memory ran out: Next gave what came before.
  bool failed() const { return failed_; }

 private:
  struct ParserDeleter {
    void operator()(csv_parser* parser) const;
  };
  // libcsv's callbacks; `context` is the reader.
  static void OnField(void* data, std::size_t size, void* context);
  static void OnRecordEnd(int terminator, void* context);

  // Parses the next block of the input into `complete_`; false once nothing more comes.
  bool ReadBlock();

  std::istream& input_;
  std::unique_ptr<csv_parser, ParserDeleter> parser_;
  std::vector<char> buffer_;
  CsvRecord record_;  // the record being parsed
  bool unterminated_ = false;
  std::deque<CsvRecordRead> complete_;
  bool ended_ = false;
  bool failed_ = false;
};

// Calls `on_record` for each record of `input` in order, as soon as it is complete (see
// CsvReader). Returns false only when the input could not be read or memory ran out.
bool ReadCsv(std::istream& input,
             const std::function<void(CsvRecord&& record, bool unterminated)>& on_record);

}  // namespace cli

#endif  // KORVANE_CLI_BATCH_CSV_READER_H

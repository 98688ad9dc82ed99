// Reading CSV (RFC 4180) as a stream of records, through libcsv: the batch's rows and the
// op-amp catalogue.
#ifndef KORVANE_DATA_CSV_READER_H
#define KORVANE_DATA_CSV_READER_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct csv_parser;

namespace data {

using CsvRecord = std::vector<std::string>;

struct CsvRecordRead {
  CsvRecord fields;
  // The line the record starts on: 1 for the first; LF, CR LF and a lone CR each end a
  // line, also inside a quoted field.
  std::int64_t line = 1;
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
  // Hands `size` bytes to libcsv a line at a time, so that a record starting is seen
  // between two calls and its line is known.
  bool ParseLines(const char* bytes, std::size_t size);

  std::istream& input_;
  std::unique_ptr<csv_parser, ParserDeleter> parser_;
  std::vector<char> buffer_;
  CsvRecord record_;              // the record being parsed
  std::int64_t record_line_ = 1;  // where it began
  std::int64_t line_ = 1;         // the line the next byte is on
  bool after_cr_ = false;         // the last byte handed over ended a line with CR
  bool unterminated_ = false;
  std::deque<CsvRecordRead> complete_;
  bool ended_ = false;
  bool failed_ = false;
};

// Calls `on_record` for each record of `input` in order, as soon as it is complete (see
// CsvReader), with the line it starts on. Returns false only when the input could not be
// read or memory ran out.
bool ReadCsvLines(
    std::istream& input,
    const std::function<void(CsvRecord&& record, std::int64_t line, bool unterminated)>& on_record);

// ReadCsvLines for a reader that needs no line numbers.
bool ReadCsv(std::istream& input,
             const std::function<void(CsvRecord&& record, bool unterminated)>& on_record);

}  // namespace data

#endif  // KORVANE_DATA_CSV_READER_H

#include "data/csv_reader.h"

#include <csv.h>

#include <algorithm>

namespace data {
namespace {

// RFC 4180: spaces belong to the field.
int NoSpaceCharacters(unsigned char /*c*/) { return 0; }

// libcsv's states between records (its ROW_NOT_BEGUN) and inside a field (its
// FIELD_BEGUN); in the latter with `quoted` set, the input ended before the field's closing
// quote. libcsv reports this itself only in strict mode, which would also stop at the first
// stray quote instead of reading on.
constexpr int kLibcsvRowNotBegun = 0;
constexpr int kLibcsvFieldBegun = 2;

// The input is read in blocks of this size.
constexpr std::size_t kBlockSize = 1 << 16;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

void CsvReader::OnField(void* data, std::size_t size, void* context) {
  CsvRecord& record = static_cast<CsvReader*>(context)->record_;
  // Room for a design row at once, rather than growing through 1, 2, 4 and 8 cells.
  if (record.empty()) record.reserve(8);
  record.emplace_back(static_cast<const char*>(data), size);
}

void CsvReader::OnRecordEnd(int /*terminator*/, void* context) {
  auto& reader = *static_cast<CsvReader*>(context);
  reader.complete_.push_back(
      {std::move(reader.record_), reader.record_line_, reader.unterminated_});
  reader.record_.clear();
}

void CsvReader::ParserDeleter::operator()(csv_parser* parser) const {
  csv_free(parser);
  delete parser;
}

CsvReader::CsvReader(std::istream& input)
    : input_(input), parser_(new csv_parser()), buffer_(kBlockSize) {
  if (csv_init(parser_.get(), 0) != 0) {
    failed_ = ended_ = true;
    return;
  }
  csv_set_space_func(parser_.get(), NoSpaceCharacters);
}

CsvReader::~CsvReader() = default;

std::optional<CsvRecordRead> CsvReader::Next() {
  while (complete_.empty()) {
    if (!ReadBlock()) return std::nullopt;
  }
  CsvRecordRead record = std::move(complete_.front());
  complete_.pop_front();
  return record;
}

bool CsvReader::ParseLines(const char* bytes, std::size_t size) {
  for (std::size_t start = 0; start < size;) {
    const char* const end = std::find_if(bytes + start, bytes + size, IsLineEnd);
    const auto stop = static_cast<std::size_t>(end - bytes) + (end == bytes + size ? 0 : 1);
    if (parser_->pstate == kLibcsvRowNotBegun) record_line_ = line_;
    // Without CSV_STRICT, libcsv accepts every byte sequence; only memory can fail it.
    if (csv_parse(parser_.get(), bytes + start, stop - start, OnField, OnRecordEnd, this) !=
        stop - start) {
      return false;
    }
    if (end != bytes + size) {
      const bool lf_after_cr = *end == '\n' && after_cr_ && stop - start == 1;
      if (!lf_after_cr) ++line_;
      after_cr_ = *end == '\r';
    } else {
      after_cr_ = false;
    }
    start = stop;
  }
  return true;
}

bool CsvReader::ReadBlock() {
  if (ended_) return false;
  if (input_) {
    input_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    if (const auto count = static_cast<std::size_t>(input_.gcount()); count != 0) {
      // libcsv grows a field's buffer by a fixed step, which makes a long field cost time
      // in the square of its length (a megabyte cell: seconds). A step as large as the
      // field so far doubles the buffer instead.
      csv_set_blk_size(parser_.get(), std::max(buffer_.size(), parser_->entry_size));
      if (!ParseLines(buffer_.data(), count)) failed_ = ended_ = true;
      return true;
    }
  }
  ended_ = true;
  if (input_.bad()) {
    failed_ = true;
    return false;
  }
  if (parser_->pstate == kLibcsvFieldBegun && parser_->quoted != 0) {
    // Hand over the record as far as it goes, the open field included.
    unterminated_ = true;
  }
  if (csv_fini(parser_.get(), OnField, OnRecordEnd, this) != 0) {
    failed_ = true;
  }
  return true;
}

bool ReadCsvLines(std::istream& input,
                  const std::function<void(CsvRecord&& record, std::int64_t line,
                                           bool unterminated)>& on_record) {
  CsvReader reader(input);
  while (std::optional<CsvRecordRead> record = reader.Next()) {
    on_record(std::move(record->fields), record->line, record->unterminated);
  }
  return !reader.failed();
}

bool ReadCsv(std::istream& input,
             const std::function<void(CsvRecord&& record, bool unterminated)>& on_record) {
  return ReadCsvLines(input, [&on_record](CsvRecord&& record, std::int64_t, bool unterminated) {
    on_record(std::move(record), unterminated);
  });
}

}  // namespace data

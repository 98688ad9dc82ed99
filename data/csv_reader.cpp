#include "data/csv_reader.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <memory>

namespace data {
namespace {

using RecordCallback = std::function<void(CsvRecord&&, std::int64_t, bool)>;

struct Collector {
  const RecordCallback* on_record;
  CsvRecord record;
  std::int64_t line = 1;      // where the record being read began
  bool unterminated = false;  // set before the last record is finished
};

void OnField(void* data, std::size_t size, void* context) {
  auto& collector = *static_cast<Collector*>(context);
  // Room for a design row at once, rather than growing through 1, 2, 4 and 8 cells.
  if (collector.record.empty()) collector.record.reserve(8);
  collector.record.emplace_back(static_cast<const char*>(data), size);
}

void OnRecordEnd(int /*terminator*/, void* context) {
  auto& collector = *static_cast<Collector*>(context);
  (*collector.on_record)(std::move(collector.record), collector.line, collector.unterminated);
  collector.record.clear();
}

// RFC 4180: spaces belong to the field.
int NoSpaceCharacters(unsigned char /*c*/) { return 0; }

// libcsv's states between records (its ROW_NOT_BEGUN) and inside a field (its
// FIELD_BEGUN); in the latter with `quoted` set, the input ended before the field's closing
// quote. libcsv reports this itself only in strict mode, which would also stop at the first
// stray quote instead of reading on.
constexpr int kLibcsvRowNotBegun = 0;
constexpr int kLibcsvFieldBegun = 2;

struct ParserDeleter {
  void operator()(csv_parser* parser) const {
    csv_free(parser);
    delete parser;
  }
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

bool ReadCsvLines(std::istream& input, const RecordCallback& on_record) {
  std::unique_ptr<csv_parser, ParserDeleter> parser(new csv_parser);
  if (csv_init(parser.get(), 0) != 0) return false;
  csv_set_space_func(parser.get(), NoSpaceCharacters);

  Collector collector{&on_record, {}, 1, false};
  std::int64_t line = 1;
  bool after_cr = false;  // the last byte handed over ended a line with CR
  std::array<char, 1 << 16> buffer;
  while (input) {
    input.read(buffer.data(), buffer.size());
    const auto count = static_cast<std::size_t>(input.gcount());
    if (count == 0) break;
    // libcsv grows a field's buffer by a fixed step, which makes a long field cost time
    // in the square of its length (a megabyte cell: seconds). A step as large as the field
    // so far doubles the buffer instead.
    csv_set_blk_size(parser.get(), std::max(buffer.size(), parser->entry_size));
    // The buffer goes to libcsv a line at a time, so that a record starting is seen
    // between two calls and its line is known.
    for (std::size_t start = 0; start < count;) {
      const char* const end = std::find_if(buffer.data() + start, buffer.data() + count, IsLineEnd);
      const auto stop =
          static_cast<std::size_t>(end - buffer.data()) + (end == buffer.data() + count ? 0 : 1);
      if (parser->pstate == kLibcsvRowNotBegun) collector.line = line;
      // Without CSV_STRICT, libcsv accepts every byte sequence; only memory can fail it.
      if (csv_parse(parser.get(), buffer.data() + start, stop - start, OnField, OnRecordEnd,
                    &collector) != stop - start) {
        return false;
      }
      if (end != buffer.data() + count) {
        const bool lf_after_cr = *end == '\n' && after_cr && stop - start == 1;
        if (!lf_after_cr) ++line;
        after_cr = *end == '\r';
      } else {
        after_cr = false;
      }
      start = stop;
    }
  }
  if (input.bad()) return false;
  if (parser->pstate == kLibcsvFieldBegun && parser->quoted != 0) {
    // Hand over the record as far as it goes, the open field included.
    collector.unterminated = true;
  }
  return csv_fini(parser.get(), OnField, OnRecordEnd, &collector) == 0;
}

bool ReadCsv(std::istream& input,
             const std::function<void(CsvRecord&& record, bool unterminated)>& on_record) {
  return ReadCsvLines(input, [&on_record](CsvRecord&& record, std::int64_t, bool unterminated) {
    on_record(std::move(record), unterminated);
  });
}

}  // namespace data

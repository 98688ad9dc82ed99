#include "cli/batch/batch.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/export/csv_writer.h"
#include "calc/numeric/parallel_for.h"
#include "calc/text/diagnostic.h"
#include "cli/batch/csv_reader.h"
#include "cli/batch/result_columns.h"
#include "cli/text_commands.h"

namespace cli {
namespace {

constexpr std::array<std::string_view, 8> kDesignColumns = {
    keys::kFo, keys::kQ, keys::kH, "zref", "series_r", "series_c", "lock", keys::kParts[4]};
constexpr std::array<std::string_view, 5> kAnalysisColumns = keys::kParts;
// Rows read, worked on and written together: large enough that starting threads costs
// nothing, small enough that output flows while a long input is still being read.
constexpr std::size_t kChunkRows = 8192;
// Rows a thread takes at a time from the chunk being worked on: a fraction of a
// millisecond of work, so the threads end a chunk together.
constexpr std::int64_t kRowsPerTask = 256;
// Beyond this, the one thread that reads and writes the CSV (about a fifth of a row's
// work) holds the others back.
constexpr int kMaxThreads = 8;

std::span<const std::string_view> InputColumns(Command command) {
  if (command == Command::kDesign) return kDesignColumns;
  return kAnalysisColumns;
}

std::span<const std::string_view> ResultNames(Command command) {
  if (command == Command::kDesign) return kDesignResultNames;
  return kAnalysisResultNames;
}

// Where each of the command's input columns stands in the header, or the reason why the
// header does not do.
struct HeaderMap {
  std::vector<std::size_t> position;  // by the command's column order
  std::string problem;
};

HeaderMap MapHeader(Command command, CsvRecord header) {
  // Spreadsheets write a byte-order mark before the first name.
  if (!header.empty() && header.front().starts_with("\xEF\xBB\xBF")) header.front().erase(0, 3);
  const std::span<const std::string_view> columns = InputColumns(command);
  HeaderMap map;
  map.position.assign(columns.size(), header.size());
  for (std::size_t i = 0; i < header.size(); ++i) {
    const auto known = std::find(columns.begin(), columns.end(), header[i]);
    if (known == columns.end()) {
      map.problem = "unknown column '" + header[i] + "' in the header";
      return map;
    }
    std::size_t& slot = map.position[static_cast<std::size_t>(known - columns.begin())];
    if (slot != header.size()) {
      map.problem = "column '" + header[i] + "' appears twice in the header";
      return map;
    }
    slot = i;
  }
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (map.position[k] == header.size()) {
      map.problem = "the header lacks the column '" + std::string(columns[k]) + "'";
      return map;
    }
  }
  return map;
}

struct Row {
  CsvRecord cells;
  bool unterminated = false;
  std::size_t number = 0;  // counted from 1 after the header
};

// A row that cannot run: no results, the reason as its error.
CommandOutcome RowError(Command command, std::string reason) {
  CommandOutcome outcome;
  for (const std::string_view name : ResultNames(command)) outcome.results.push_back({name, {}});
  outcome.error = std::move(reason);
  return outcome;
}

CommandOutcome RunRow(Command command, const HeaderMap& map, const Row& row) {
  const auto cell = [&](std::size_t k) -> const std::string& { return row.cells[map.position[k]]; };
  if (command == Command::kDesign) {
    DesignInput input{cell(0), cell(1), cell(2), cell(3), cell(4), cell(5), false, cell(7)};
    const std::string& lock = cell(6);
    if (lock == "1") {
      input.lock = true;
    } else if (!lock.empty() && lock != "0") {
      return RowError(command, calc::CliText({calc::Problem::kLockCell}));
    }
    return RunDesign(input, Report::kSkip);
  }
  return RunAnalysis({cell(0), cell(1), cell(2), cell(3), cell(4)}, Report::kSkip);
}

// Replaces `line` by the output line of one row (keeping its memory); true when the row
// ran without warning or error.
bool WriteRowLine(std::string& line, Command command, const HeaderMap& map, std::size_t header_size,
                  const Row& row) {
  CommandOutcome outcome;
  if (row.unterminated) {
    outcome = RowError(command, calc::CliText({calc::Problem::kUnterminatedCell}));
  } else if (row.cells.size() != header_size) {
    outcome = RowError(command,
                       calc::CliText({calc::Problem::kCellCount,
                                      {std::to_string(row.number), std::to_string(row.cells.size()),
                                       std::to_string(header_size)}}));
  } else {
    outcome = RunRow(command, map, row);
  }
  line.clear();
  // The input columns as given, missing cells empty, surplus ones dropped.
  for (std::size_t i = 0; i < header_size; ++i) {
    if (i != 0) line += ',';
    if (i < row.cells.size()) calc::AppendCsvField(line, row.cells[i]);
  }
  AppendResultCsvFields(line, outcome);
  line += "\r\n";
  return outcome.Clean();
}

// The output lines of a chunk of rows, in order, and whether each row ran clean.
struct ChunkLines {
  std::vector<std::string> lines;
  std::vector<char> clean;

  bool AllClean() const { return std::find(clean.begin(), clean.end(), 0) == clean.end(); }
};

// The output's header: the input's names as given (less a byte-order mark), then the
// result columns.
void WriteHeaderLine(Command command, CsvRecord names, std::ostream& out) {
  if (!names.empty() && names.front().starts_with("\xEF\xBB\xBF")) names.front().erase(0, 3);
  for (std::string& name : ResultColumnNames(ResultNames(command))) names.push_back(name);
  std::string line;
  calc::AppendCsvRecord(line, names);
  out << line;
}

}  // namespace

int RunBatch(Command command, std::istream& in, std::ostream& out, std::ostream& errors) {
  CsvReader reader(in);
  std::optional<CsvRecordRead> header = reader.Next();
  if (!header) {
    errors << "korvane-cli: the input is empty: a header row is expected; see "
              "'korvane-cli --help'\n";
    return 2;
  }
  HeaderMap map = MapHeader(command, header->fields);
  if (header->unterminated) map.problem = "the input ends inside a quoted header cell";
  if (!map.problem.empty()) {
    errors << "korvane-cli: " << map.problem << "; see 'korvane-cli --help'\n";
    return 2;
  }
  const std::size_t header_size = header->fields.size();
  WriteHeaderLine(command, std::move(header->fields), out);

  std::size_t rows_read = 0;
  const auto read_chunk = [&] {
    std::vector<Row> rows;
    rows.reserve(kChunkRows);
    while (rows.size() < kChunkRows) {
      std::optional<CsvRecordRead> record = reader.Next();
      if (!record) break;
      rows.push_back({std::move(record->fields), record->unterminated, ++rows_read});
    }
    return rows;
  };
  bool all_clean = true;
  const auto write = [&](const ChunkLines& done) {
    for (const std::string& line : done.lines) out << line;
    all_clean = all_clean && done.AllClean();
  };

  // Each chunk is worked on by every thread but one, while that one writes the chunk
  // before and reads the next: the reading and writing then cost no time of their own.
  // The two sets of lines take turns, so that their memory is reused: that spares a
  // million allocations, and the page faults of memory given back and taken again, in a
  // long batch.
  const int threads = std::min(calc::DefaultThreadCount(), kMaxThreads);
  std::vector<Row> rows = read_chunk();
  ChunkLines working, written;
  while (!rows.empty()) {
    working.lines.resize(rows.size());
    working.clean.assign(rows.size(), 1);
    std::vector<Row> next_rows;
    calc::ParallelForAlongside(
        static_cast<std::int64_t>(rows.size()), kRowsPerTask, threads,
        [&](std::int64_t begin, std::int64_t end) {
          for (auto i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) {
            const bool clean = WriteRowLine(working.lines[i], command, map, header_size, rows[i]);
            working.clean[i] = clean ? 1 : 0;
          }
        },
        [&] {
          write(written);
          next_rows = read_chunk();
        });
    std::swap(working, written);
    rows = std::move(next_rows);
  }
  write(written);
  out.flush();
  if (reader.failed()) {
    errors << "korvane-cli: standard input could not be read to the end\n";
    return 1;
  }
  if (rows_read == 0) {
    errors << "korvane-cli: the input has a header but no rows\n";
    return 1;
  }
  return all_clean ? 0 : 1;
}

}  // namespace cli

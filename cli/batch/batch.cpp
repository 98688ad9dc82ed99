#include "cli/batch/batch.h"

#include <algorithm>
#include <array>
#include <future>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "calc/export/csv_writer.h"
#include "calc/text/diagnostic.h"
#include "cli/batch/csv_reader.h"
#include "cli/batch/result_columns.h"
#include "cli/text_commands.h"

namespace cli {
namespace {

constexpr std::array<std::string_view, 8> kDesignColumns = {"fo",       "q",        "h",    "zref",
                                                            "series_r", "series_c", "lock", "c2"};
constexpr std::array<std::string_view, 5> kAnalysisColumns = {"r1", "r2", "r3", "c1", "c2"};
// Rows worked on together: large enough that starting threads costs nothing, small enough
// that output flows while a long input is still being read.
constexpr std::size_t kChunkRows = 8192;

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

// Replaces `line` by the output line of one row (keeping its memory); `clean` tells whether
// the row ran without warning or error.
void WriteRowLine(std::string& line, Command command, const HeaderMap& map, std::size_t header_size,
                  const Row& row, bool& clean) {
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
  clean = outcome.Clean();
  line.clear();
  // The input columns as given, missing cells empty, surplus ones dropped.
  for (std::size_t i = 0; i < header_size; ++i) {
    if (i != 0) line += ',';
    if (i < row.cells.size()) calc::AppendCsvField(line, row.cells[i]);
  }
  AppendResultCsvFields(line, outcome);
  line += "\r\n";
}

// The output lines of a chunk of rows, in order, and whether all of them ran clean.
struct ChunkLines {
  std::vector<std::string> lines;
  bool clean = true;
};

// Works on the rows on up to `threads` threads, each on a contiguous share. `lines` are
// those of a chunk already written: reusing their memory spares a million allocations, and
// the page faults of memory given back and taken again, in a long batch.
ChunkLines RunChunk(Command command, const HeaderMap& map, std::size_t header_size,
                    const std::vector<Row>& rows, std::vector<std::string> lines,
                    unsigned threads) {
  ChunkLines result{std::move(lines)};
  result.lines.resize(rows.size());
  std::vector<char> clean(rows.size(), 1);
  const auto work = [&](std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
      bool row_clean = true;
      WriteRowLine(result.lines[i], command, map, header_size, rows[i], row_clean);
      clean[i] = row_clean ? 1 : 0;
    }
  };
  {
    std::vector<std::jthread> helpers;
    const std::size_t share = (rows.size() + threads - 1) / threads;
    for (unsigned t = 1; t < threads && t * share < rows.size(); ++t) {
      helpers.emplace_back(work, t * share, std::min(rows.size(), (t + 1) * share));
    }
    work(0, std::min(rows.size(), share));
  }
  result.clean = std::find(clean.begin(), clean.end(), 0) == clean.end();
  return result;
}

}  // namespace

int RunBatch(Command command, std::istream& in, std::ostream& out, std::ostream& errors) {
  std::optional<HeaderMap> map;
  std::size_t header_size = 0;
  std::size_t rows = 0;
  bool all_clean = true;
  std::vector<Row> chunk;
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
  // While one chunk is worked on, the next is read: the reading then costs no time of its
  // own on a machine with a core to spare.
  std::future<ChunkLines> pending;
  std::vector<std::string> spare_lines;

  const auto write = [&](ChunkLines done) {
    for (const std::string& line : done.lines) out << line;
    all_clean = all_clean && done.clean;
    spare_lines = std::move(done.lines);
  };
  const auto write_pending = [&] {
    if (pending.valid()) write(pending.get());
  };
  // A full chunk goes to the background; the last one, often the only one, is worked on
  // here, without a thread to start for a handful of rows.
  const auto flush = [&] {
    write_pending();
    pending = std::async(std::launch::async, [&, chunk_rows = std::move(chunk),
                                              lines = std::move(spare_lines)]() mutable {
      return RunChunk(command, *map, header_size, chunk_rows, std::move(lines), threads);
    });
    chunk.clear();
    chunk.reserve(kChunkRows);
  };

  std::string header_problem;
  const bool read = ReadCsv(in, [&](CsvRecord&& record, bool unterminated) {
    if (!header_problem.empty()) return;
    if (!map) {
      map = MapHeader(command, record);
      if (unterminated) map->problem = "the input ends inside a quoted header cell";
      if (!map->problem.empty()) {
        header_problem = map->problem;
        return;
      }
      header_size = record.size();
      std::vector<std::string> names = std::move(record);
      if (!names.empty() && names.front().starts_with("\xEF\xBB\xBF")) names.front().erase(0, 3);
      for (std::string& name : ResultColumnNames(ResultNames(command))) names.push_back(name);
      std::string line;
      calc::AppendCsvRecord(line, names);
      out << line;
      return;
    }
    chunk.push_back({std::move(record), unterminated, ++rows});
    if (chunk.size() == kChunkRows) flush();
  });
  if (!header_problem.empty()) {
    errors << "korvane-cli: " << header_problem << "; see 'korvane-cli --help'\n";
    return 2;
  }
  if (!map) {
    errors << "korvane-cli: the input is empty: a header row is expected; see "
              "'korvane-cli --help'\n";
    return 2;
  }
  write_pending();
  write(RunChunk(command, *map, header_size, chunk, std::move(spare_lines), threads));
  out.flush();
  if (!read) {
    errors << "korvane-cli: standard input could not be read to the end\n";
    return 1;
  }
  if (rows == 0) {
    errors << "korvane-cli: the input has a header but no rows\n";
    return 1;
  }
  return all_clean ? 0 : 1;
}

}  // namespace cli

// The batch as a script feeds it: any bytes as CSV on standard input, for either command.
// Checks: a usage error writes nothing; otherwise exactly one output row per input record
// after the header, each with the header's cells plus the result columns.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/batch/batch.h"
#include "cli/batch/csv_reader.h"

namespace {

std::size_t CountRecords(const std::string& text, std::size_t* first_size) {
  std::istringstream in(text);
  std::size_t count = 0;
  cli::ReadCsv(in, [&](cli::CsvRecord&& record, bool) {
    if (count++ == 0 && first_size != nullptr) *first_size = record.size();
  });
  return count;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const cli::Command command = (data[0] & 1) != 0 ? cli::Command::kDesign : cli::Command::kAnalysis;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  std::istringstream in(input);
  std::ostringstream out, errors;
  const int exit_code = cli::RunBatch(command, in, out, errors);
  Check(exit_code >= 0 && exit_code <= 2);
  if (exit_code == 2) {
    Check(out.str().empty());
    return 0;
  }
  std::size_t header_cells = 0, output_header_cells = 0;
  const std::size_t records = CountRecords(input, &header_cells);
  Check(CountRecords(out.str(), &output_header_cells) == records);
  const std::size_t result_cells = command == cli::Command::kDesign ? 8 * 2 + 2 : 3 * 2 + 2;
  Check(output_header_cells == header_cells + result_cells);
  return 0;
}

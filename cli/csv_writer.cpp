#include "cli/csv_writer.h"

namespace cli {

void AppendCsvField(std::string& line, std::string_view field) {
  const bool blank_edge = !field.empty() && (field.front() == ' ' || field.back() == ' ');
  if (!blank_edge && field.find_first_of(",\"\r\n") == std::string_view::npos) {
    line += field;
    return;
  }
  line += '"';
  for (const char c : field) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

}  // namespace cli

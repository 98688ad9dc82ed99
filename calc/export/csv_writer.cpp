#include "calc/export/csv_writer.h"

namespace calc {
namespace {

// One pass over the bytes: find_first_of would search the four characters once per byte.
bool NeedsQuotes(std::string_view field) {
  if (field.empty()) return false;
  if (field.front() == ' ' || field.back() == ' ') return true;
  for (const char c : field) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
  }
  return false;
}

}  // namespace

void AppendCsvField(std::string& line, std::string_view field) {
  if (!NeedsQuotes(field)) {
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

}  // namespace calc

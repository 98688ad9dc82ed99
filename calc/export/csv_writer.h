// Writing CSV (RFC 4180): fields quoted only where they must be, CR LF after each record.
#ifndef KORVANE_CALC_EXPORT_CSV_WRITER_H
#define KORVANE_CALC_EXPORT_CSV_WRITER_H

#include <string>
#include <string_view>

namespace calc {

// Appends `field`, quoted when it holds a comma, a quote, CR or LF, or starts or ends
// with a blank (so readers that trim keep it).
void AppendCsvField(std::string& line, std::string_view field);

// Appends the fields separated by commas.
template <typename Range>
void AppendCsvFields(std::string& out, const Range& fields) {
  bool first = true;
  for (const auto& field : fields) {
    if (!first) out += ',';
    first = false;
    AppendCsvField(out, field);
  }
}

// Appends the fields separated by commas, then CR LF.
template <typename Range>
void AppendCsvRecord(std::string& out, const Range& fields) {
  AppendCsvFields(out, fields);
  out += "\r\n";
}

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_CSV_WRITER_H

#include "cli/batch/result_columns.h"

#include "calc/export/csv_writer.h"
#include "calc/text/number_text.h"

namespace cli {

std::vector<std::string> ResultColumnNames(std::span<const std::string_view> result_names) {
  std::vector<std::string> names;
  for (const std::string_view name : result_names) names.push_back(std::string(name) + "_result");
  for (const std::string_view name : result_names) names.push_back(std::string(name) + "_value");
  names.emplace_back("warning");
  names.emplace_back("error");
  return names;
}

void AppendResultCsvFields(std::string& line, const CommandOutcome& outcome) {
  for (const ResultField& field : outcome.results) {
    line += ',';
    calc::AppendCsvField(line, field.text);
  }
  for (const ResultField& field : outcome.results) {
    line += ',';
    calc::AppendShortest(line, field.value);  // never needs quotes
  }
  line += ',';
  calc::AppendCsvField(line, outcome.warning);
  line += ',';
  calc::AppendCsvField(line, outcome.error);
}

}  // namespace cli

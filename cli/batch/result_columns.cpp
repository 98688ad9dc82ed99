#include "cli/batch/result_columns.h"

#include <array>
#include <charconv>
#include <cmath>

#include "cli/batch/csv_writer.h"

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
    AppendCsvField(line, field.text);
  }
  for (const ResultField& field : outcome.results) {
    line += ',';
    if (std::isnan(field.value)) continue;
    std::array<char, 32> buffer;  // the longest shortest form of a double has 24 characters
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), field.value);
    line.append(buffer.data(), end);  // digits, sign, point and exponent: never quoted
  }
  line += ',';
  AppendCsvField(line, outcome.warning);
  line += ',';
  AppendCsvField(line, outcome.error);
}

std::string RoundTripText(double value) {
  if (std::isnan(value)) return {};
  std::array<char, 32> buffer;  // the longest shortest form of a double has 24 characters
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), end);
}

}  // namespace cli

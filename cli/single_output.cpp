#include "cli/single_output.h"

#include <nlohmann/json.hpp>

#include "calc/export/csv_writer.h"
#include "cli/batch/result_columns.h"

namespace cli {
namespace {

nlohmann::json TextOrNull(const std::string& text) {
  return text.empty() ? nlohmann::json(nullptr) : nlohmann::json(text);
}

void PrintJson(std::string_view command, const NamedInputs& inputs, const CommandOutcome& outcome,
               std::ostream& out) {
  nlohmann::ordered_json json;
  json["command"] = command;
  nlohmann::ordered_json& typed = json["inputs"];
  for (const auto& [name, text] : inputs) typed[name] = text;
  nlohmann::ordered_json& results = json["results"];
  for (const ResultField& field : outcome.results) {
    // NaN (no value) is written as null.
    results[std::string(field.name)] = {{"text", field.text}, {"value", field.value}};
  }
  // The window's messages end lines with CR LF; a reader of JSON expects LF, as in the report.
  json["warning"] = TextOrNull(WithLfLineEnds(outcome.warning));
  json["error"] = TextOrNull(WithLfLineEnds(outcome.error));
  json["report"] = TextOrNull(WithLfLineEnds(outcome.report));
  // Inputs that are not UTF-8 are shown with U+FFFD rather than failing the output.
  out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void PrintCsv(const NamedInputs& inputs, const CommandOutcome& outcome, std::ostream& out) {
  std::vector<std::string> names, cells;
  for (const auto& [name, text] : inputs) {
    names.push_back(name);
    cells.push_back(text);
  }
  std::vector<std::string_view> result_names;
  for (const ResultField& field : outcome.results) result_names.push_back(field.name);
  for (std::string& name : ResultColumnNames(result_names)) names.push_back(std::move(name));
  std::string text;
  calc::AppendCsvRecord(text, names);
  calc::AppendCsvFields(text, cells);
  AppendResultCsvFields(text, outcome);
  text += "\r\n";
  out << text;
}

}  // namespace

std::string WithLfLineEnds(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i];
  }
  return result;
}

void WriteDiagnostic(const calc::Diagnostic& diagnostic, std::ostream& errors) {
  errors << (calc::SeverityOf(diagnostic.problem) == calc::Severity::kWarning ? "warning: "
                                                                              : "error: ")
         << WithLfLineEnds(calc::CliText(diagnostic)) << '\n';
}

int PrintOutcome(std::string_view command, const NamedInputs& inputs, const CommandOutcome& outcome,
                 Format format, std::ostream& out, std::ostream& errors) {
  switch (format) {
    case Format::kText:
      out << WithLfLineEnds(outcome.report);
      break;
    case Format::kJson:
      PrintJson(command, inputs, outcome, out);
      break;
    case Format::kCsv:
      PrintCsv(inputs, outcome, out);
      break;
  }
  out.flush();
  if (!outcome.warning.empty()) errors << "warning: " << WithLfLineEnds(outcome.warning) << '\n';
  if (!outcome.error.empty()) errors << "error: " << WithLfLineEnds(outcome.error) << '\n';
  return outcome.Clean() ? 0 : 1;
}

}  // namespace cli

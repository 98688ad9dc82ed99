// The checks run in the window's order (calc/commands/design_command.cpp,
// calc/commands/analysis_command.cpp) over the same value functions and messages; a test holds the
// two to the same outcome on every input.
#include "cli/text_commands.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <span>
#include <utility>

#include "calc/circuit/band_pass.h"
#include "calc/commands/command_messages.h"
#include "calc/commands/report.h"
#include "calc/numeric/float_ops.h"
#include "calc/text/error_text.h"
#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"
#include "cli/utf8.h"

namespace cli {
namespace {

std::string Shown(double value) { return Utf16ToUtf8(calc::FormatDisplayed(value)); }

CommandOutcome NoResults(std::span<const std::string_view> names) {
  CommandOutcome outcome;
  outcome.results.reserve(names.size());
  for (const std::string_view name : names) outcome.results.push_back({name, {}, calc::kNoValue});
  return outcome;
}

void SetResult(CommandOutcome& outcome, std::size_t index, double value) {
  outcome.results[index].text = Shown(value);
  outcome.results[index].value = value;
}

// The UTF-16 form of every input, or the error for the first that is not UTF-8.
calc::Outcome<std::vector<std::u16string>> Decode(
    std::initializer_list<std::pair<std::string_view, const std::string*>> inputs) {
  std::vector<std::u16string> texts;
  texts.reserve(inputs.size());
  for (const auto& [name, text] : inputs) {
    calc::Outcome<std::u16string> utf16 = DecodeInput(name, *text);
    if (!utf16) return utf16.diagnostic();
    texts.push_back(*std::move(utf16));
  }
  return texts;
}

}  // namespace

CommandOutcome RunDesign(const DesignInput& input, Report report) {
  CommandOutcome outcome = NoResults(kDesignResultNames);
  const calc::Outcome<std::vector<std::u16string>> decoded = Decode({{"fo", &input.fo},
                                                                     {"q", &input.q},
                                                                     {"h", &input.h},
                                                                     {"zref", &input.zref},
                                                                     {"series_r", &input.series_r},
                                                                     {"series_c", &input.series_c},
                                                                     {"c2", &input.c2}});
  if (!decoded) {
    outcome.error = calc::CliText(decoded.diagnostic());
    return outcome;
  }
  const std::vector<std::u16string>& texts = *decoded;
  const std::u16string& fo_text = texts[0];
  const std::u16string& q_text = texts[1];
  constexpr std::size_t kC2 = 4;
  // The C2 field holds what was typed until the design blanks it (a locked C2 stays).
  outcome.results[kC2].text = input.c2;

  calc::DesignRequest request;
  request.Fo = calc::ParseQuantity(fo_text);
  request.Q = calc::ParseQuantity(q_text);
  request.H = calc::GainOrUnity(calc::ParseQuantity(texts[2]));
  if (const std::u16string_view warning = calc::DesignTargetWarning(request.Fo, request.Q);
      !warning.empty()) {
    outcome.warning = Utf16ToUtf8(warning);
    return outcome;
  }

  if (!input.lock) outcome.results[kC2].text.clear();
  request.Zref = calc::ParseQuantity(texts[3]);
  if (std::isnan(request.Zref)) {
    outcome.warning = Utf16ToUtf8(calc::kZrefMissingWarning);
    return outcome;
  }
  request.SeriesC = calc::ParseSeriesSize(texts[5]);
  request.SeriesR = calc::ParseSeriesSize(texts[4]);
  if (input.lock) request.LockedC2 = calc::ParseQuantity(texts[6]);

  calc::DesignResult result;
  try {
    result = calc::Design(request);
  } catch (const calc::FloatError& error) {
    outcome.error = calc::ErrorBoxText(error.what());
    return outcome;
  }
  if (result.QMissed) outcome.warning = Utf16ToUtf8(calc::kQErrorWarning);
  const calc::Circuit& c = result.Snapped;
  const double values[] = {
      c.R1, c.R2, c.R3, c.C1, c.C2, result.Achieved.Fo, result.Achieved.Q, result.Achieved.H};
  for (std::size_t i = 0; i < std::size(values); ++i) SetResult(outcome, i, values[i]);
  if (report == Report::kBuild) {
    outcome.report = Utf16ToUtf8(calc::BuildDesignReport(fo_text, q_text, result));
  }
  return outcome;
}

CommandOutcome RunAnalysis(const AnalysisInput& input, Report report) {
  CommandOutcome outcome = NoResults(kAnalysisResultNames);
  const calc::Outcome<std::vector<std::u16string>> decoded = Decode({{"r1", &input.r1},
                                                                     {"r2", &input.r2},
                                                                     {"r3", &input.r3},
                                                                     {"c1", &input.c1},
                                                                     {"c2", &input.c2}});
  if (!decoded) {
    outcome.error = calc::CliText(decoded.diagnostic());
    return outcome;
  }
  const std::vector<std::u16string>& texts = *decoded;
  const calc::CircuitTexts typed{texts[0], texts[1], texts[2], texts[3], texts[4]};
  const calc::Circuit circuit{calc::ParseQuantity(typed.R1), calc::ParseQuantity(typed.R2),
                              calc::ParseQuantity(typed.R3), calc::ParseQuantity(typed.C1),
                              calc::ParseQuantity(typed.C2)};
  if (const std::u16string_view warning = calc::AnalysisInputWarning(circuit); !warning.empty()) {
    outcome.warning = Utf16ToUtf8(warning);
    return outcome;
  }
  calc::TransferFunction result;
  try {
    result = calc::Analyze(circuit);
  } catch (const calc::FloatError& error) {
    outcome.error = calc::ErrorBoxText(error.what());
    return outcome;
  }
  SetResult(outcome, 0, result.Fo);
  SetResult(outcome, 1, result.Q);
  SetResult(outcome, 2, result.H);
  if (report == Report::kBuild) {
    outcome.report = Utf16ToUtf8(calc::BuildAnalysisReport(typed, result));
  }
  return outcome;
}

}  // namespace cli

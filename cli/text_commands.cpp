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

// The UTF-16 form of every input, or the name of the first that is not UTF-8.
struct Decoded {
  std::vector<std::u16string> texts;
  std::string_view bad_name;
};
Decoded Decode(std::initializer_list<std::pair<std::string_view, const std::string*>> inputs) {
  Decoded decoded;
  decoded.texts.reserve(inputs.size());
  for (const auto& [name, text] : inputs) {
    std::optional<std::u16string> utf16 = Utf8ToUtf16(*text);
    if (!utf16) {
      decoded.bad_name = name;
      return decoded;
    }
    decoded.texts.push_back(std::move(*utf16));
  }
  return decoded;
}

}  // namespace

CommandOutcome RunDesign(const DesignInput& input, Report report) {
  CommandOutcome outcome = NoResults(kDesignResultNames);
  const Decoded decoded = Decode({{"fo", &input.fo},
                                  {"q", &input.q},
                                  {"h", &input.h},
                                  {"zref", &input.zref},
                                  {"series_r", &input.series_r},
                                  {"series_c", &input.series_c},
                                  {"c2", &input.c2}});
  if (!decoded.bad_name.empty()) {
    outcome.error = NotUtf8Error(decoded.bad_name);
    return outcome;
  }
  const std::u16string& fo_text = decoded.texts[0];
  const std::u16string& q_text = decoded.texts[1];
  constexpr std::size_t kC2 = 4;
  // The C2 field holds what was typed until the design blanks it (a locked C2 stays).
  outcome.results[kC2].text = input.c2;

  calc::DesignRequest request;
  request.Fo = calc::ParseQuantity(fo_text);
  request.Q = calc::ParseQuantity(q_text);
  request.H = calc::ParseQuantity(decoded.texts[2]);
  if (std::isnan(request.H)) request.H = 1.0;
  if (const std::u16string_view warning = calc::DesignTargetWarning(request.Fo, request.Q);
      !warning.empty()) {
    outcome.warning = Utf16ToUtf8(warning);
    return outcome;
  }

  if (!input.lock) outcome.results[kC2].text.clear();
  request.Zref = calc::ParseQuantity(decoded.texts[3]);
  if (std::isnan(request.Zref)) {
    outcome.warning = Utf16ToUtf8(calc::kZrefMissingWarning);
    return outcome;
  }
  request.SeriesC = calc::ParseSeriesSize(decoded.texts[5]);
  request.SeriesR = calc::ParseSeriesSize(decoded.texts[4]);
  if (input.lock) request.LockedC2 = calc::ParseQuantity(decoded.texts[6]);

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
  const Decoded decoded = Decode({{"r1", &input.r1},
                                  {"r2", &input.r2},
                                  {"r3", &input.r3},
                                  {"c1", &input.c1},
                                  {"c2", &input.c2}});
  if (!decoded.bad_name.empty()) {
    outcome.error = NotUtf8Error(decoded.bad_name);
    return outcome;
  }
  const calc::CircuitTexts typed{decoded.texts[0], decoded.texts[1], decoded.texts[2],
                                 decoded.texts[3], decoded.texts[4]};
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

#include "cli/circuit_source.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "calc/circuit/circuit_parts.h"
#include "calc/commands/command_messages.h"
#include "calc/text/quantity_parse.h"
#include "cli/utf8.h"

namespace cli {
namespace {

calc::Outcome<CircuitSource> FromDesign(const DesignInput& input) {
  const CommandOutcome outcome = RunDesign(input, Report::kSkip);
  if (!outcome.error.empty()) return calc::Diagnostic{calc::Problem::kDesignError, {outcome.error}};
  // Results r1, r2, r3, c1, c2 first; they have values only when the design ran.
  calc::PartValues parts;
  for (int part = 0; part < calc::kPartCount; ++part) parts[part] = outcome.results[part].value;
  if (std::isnan(parts[calc::kR1])) {
    return calc::Diagnostic{calc::Problem::kDesignWarning, {outcome.warning}};
  }
  CircuitSource source;
  source.circuit = calc::CircuitOf(parts);
  // The design read these texts already, so they are UTF-8.
  source.target = calc::TransferFunction{
      calc::ParseQuantity(*Utf8ToUtf16(input.fo)), calc::ParseQuantity(*Utf8ToUtf16(input.q)),
      calc::GainOrUnity(calc::ParseQuantity(*Utf8ToUtf16(input.h)))};
  if (!outcome.warning.empty()) {
    source.warning = calc::Diagnostic{calc::Problem::kDesignWarning, {outcome.warning}};
  }
  return source;
}

calc::Outcome<CircuitSource> FromParts(const AnalysisInput& input) {
  const std::pair<std::string_view, const std::string*> texts[] = {{"r1", &input.r1},
                                                                   {"r2", &input.r2},
                                                                   {"r3", &input.r3},
                                                                   {"c1", &input.c1},
                                                                   {"c2", &input.c2}};
  calc::PartValues parts;
  for (int part = 0; part < calc::kPartCount; ++part) {
    const calc::Outcome<std::u16string> text = DecodeInput(texts[part].first, *texts[part].second);
    if (!text) return text.diagnostic();
    parts[part] = calc::ParseQuantity(*text);
  }
  return CircuitSource{calc::CircuitOf(parts), std::nullopt, std::nullopt};
}

}  // namespace

calc::Outcome<CircuitSource> ReadCircuitSource(const CircuitOptions& options) {
  return options.design ? FromDesign(options.design_input) : FromParts(options.parts);
}

}  // namespace cli

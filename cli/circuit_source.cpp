#include "cli/circuit_source.h"

#include <cmath>
#include <string_view>

#include "calc/circuit/circuit_parts.h"
#include "calc/text/quantity_parse.h"
#include "cli/utf8.h"

namespace cli {
namespace {

CircuitSource FromDesign(const DesignInput& input) {
  const CommandOutcome outcome = RunDesign(input, Report::kSkip);
  CircuitSource source{std::nullopt, std::nullopt, outcome.warning, outcome.error};
  // Results r1, r2, r3, c1, c2 first; they have values only when the design ran.
  calc::PartValues parts;
  for (int part = 0; part < calc::kPartCount; ++part) parts[part] = outcome.results[part].value;
  if (outcome.error.empty() && !std::isnan(parts[calc::kR1])) {
    source.circuit = calc::CircuitOf(parts);
    // The design read these texts already, so they are UTF-8.
    const double H = calc::ParseQuantity(*Utf8ToUtf16(input.h));
    source.target =
        calc::TransferFunction{calc::ParseQuantity(*Utf8ToUtf16(input.fo)),
                               calc::ParseQuantity(*Utf8ToUtf16(input.q)), std::isnan(H) ? 1.0 : H};
  }
  return source;
}

CircuitSource FromParts(const AnalysisInput& input) {
  CircuitSource source;
  const std::pair<std::string_view, const std::string*> texts[] = {{"r1", &input.r1},
                                                                   {"r2", &input.r2},
                                                                   {"r3", &input.r3},
                                                                   {"c1", &input.c1},
                                                                   {"c2", &input.c2}};
  calc::PartValues parts;
  for (int part = 0; part < calc::kPartCount; ++part) {
    const std::optional<std::u16string> text = Utf8ToUtf16(*texts[part].second);
    if (!text) {
      source.error = NotUtf8Error(texts[part].first);
      return source;
    }
    parts[part] = calc::ParseQuantity(*text);
  }
  source.circuit = calc::CircuitOf(parts);
  return source;
}

}  // namespace

CircuitSource ReadCircuitSource(const CircuitOptions& options) {
  return options.design ? FromDesign(options.design_input) : FromParts(options.parts);
}

}  // namespace cli

#include "cli/optimize_run.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/circuit/circuit_parts.h"
#include "calc/export/search_csv.h"
#include "calc/export/search_report.h"
#include "calc/studies/preferred_value_search_inputs.h"
#include "calc/studies/setting_texts.h"
#include "cli/op_amp_source.h"
#include "cli/utf8.h"

namespace cli {
namespace {

// The JSON names of the parts: the lower-case designators.
constexpr std::string_view kPartKeys[calc::kPartCount] = {"r1", "r2", "r3", "c1", "c2"};

struct DecodedTexts {
  calc::SearchTexts search;
  std::optional<calc::OpAmp> op_amp;
};

// The texts in UTF-16, or the error for the first option that is not UTF-8.
calc::Outcome<DecodedTexts> DecodeTexts(const OptimizeInput& input) {
  DecodedTexts decoded;
  calc::SearchTexts& texts = decoded.search;
  texts.design.lock = input.design.lock;
  texts.yield = input.yield;
  texts.ranking = input.ranking;
  std::u16string gbw, a0, cin;
  const std::pair<std::string_view, std::pair<const std::string*, std::u16string*>> fields[] = {
      {"--fo", {&input.design.fo, &texts.design.fo}},
      {"--q", {&input.design.q, &texts.design.q}},
      {"--h", {&input.design.h, &texts.design.h}},
      {"--zref", {&input.design.zref, &texts.design.zref}},
      {"--series-r", {&input.design.series_r, &texts.design.series_r}},
      {"--series-c", {&input.design.series_c, &texts.design.series_c}},
      {"--c2", {&input.design.c2, &texts.design.c2}},
      {"--allow-fo", {&input.allow_fo, &texts.allow_fo}},
      {"--allow-q", {&input.allow_q, &texts.allow_q}},
      {"--allow-h", {&input.allow_h, &texts.allow_h}},
      {"--steps", {&input.steps, &texts.steps}},
      {"--top", {&input.top, &texts.top}},
      {"--gbw", {&input.gbw, &gbw}},
      {"--a0", {&input.a0, &a0}},
      {"--cin", {&input.cin, &cin}},
      {"--tol-r", {&input.tol_r, &texts.tolerance.resistor}},
      {"--tol-c", {&input.tol_c, &texts.tolerance.capacitor}},
      {"--trials", {&input.trials, &texts.tolerance.trials}},
      {"--seed", {&input.seed, &texts.tolerance.seed}},
  };
  for (const auto& [option, field] : fields) {
    calc::Outcome<std::u16string> text = DecodeInput(option, *field.first);
    if (!text) return text.diagnostic();
    *field.second = *std::move(text);
  }
  if (!input.gbw.empty()) decoded.op_amp = calc::ReadOpAmpTexts(gbw, a0, cin);
  return decoded;
}

// The op-amp of a part named with --opamp, its figures replaced by those typed beside it;
// without a name, the op-amp the typed figures give.
calc::Outcome<std::optional<calc::OpAmp>> ReadOpAmp(const OptimizeInput& input,
                                                    const DecodedTexts& texts,
                                                    std::ostream& errors) {
  if (input.opamp.empty()) return texts.op_amp;
  return ReadOpAmpModelOptions(input.opamp, input.gbw, input.a0, input.cin, errors);
}

nlohmann::ordered_json PartsJson(const calc::Circuit& circuit) {
  nlohmann::ordered_json json;
  const calc::PartValues values = calc::PartsOf(circuit);
  for (int part = 0; part < calc::kPartCount; ++part) {
    // No R2 is null, as is any value that could not be found.
    json[std::string(kPartKeys[part])] = values[part];
  }
  return json;
}

nlohmann::ordered_json SetJson(const calc::ScoredSet& set) {
  nlohmann::ordered_json json = PartsJson(set.parts);
  nlohmann::ordered_json texts;
  for (int part = 0; part < calc::kPartCount; ++part) {
    texts[std::string(kPartKeys[part])] = Utf16ToUtf8(calc::TrimBlanks(set.texts[part]));
  }
  json["texts"] = std::move(texts);
  json["fo"] = set.figures.Fo;
  json["q"] = set.figures.Q;
  json["h"] = set.figures.H;
  json["fo_error"] = set.errors.Fo;
  json["q_error"] = set.errors.Q;
  json["h_error"] = set.errors.H;
  json["score"] = set.score;
  if (set.yield) {
    json["yield"] = set.yield->fraction;
    json["yield_interval"] = {set.yield->low, set.yield->high};
  }
  return json;
}

void PrintJson(const calc::PreferredValueSearch& search, std::ostream& out) {
  nlohmann::ordered_json json;
  json["reference"] = SetJson(search.reference);
  json["candidates"] = nlohmann::ordered_json::array();
  for (const calc::ScoredSet& set : search.sets) json["candidates"].push_back(SetJson(set));
  json["continuous"] = search.continuous ? PartsJson(*search.continuous) : nullptr;
  if (search.lowest_gbw_hz) json["lowest_gbw_hz"] = *search.lowest_gbw_hz;
  json["searched"] = search.searched;
  out << json.dump(2) << '\n';
}

void WriteError(const calc::Diagnostic& diagnostic, std::ostream& errors) {
  errors << "error: " << WithLfLineEnds(calc::CliText(diagnostic)) << '\n';
}

}  // namespace

int RunOptimize(const OptimizeInput& input, Format format, std::uint64_t fresh_seed,
                std::ostream& out, std::ostream& errors) {
  const calc::Outcome<DecodedTexts> texts = DecodeTexts(input);
  if (!texts) {
    WriteError(texts.diagnostic(), errors);
    return 2;
  }
  const calc::Outcome<std::optional<calc::OpAmp>> op_amp = ReadOpAmp(input, *texts, errors);
  if (!op_amp) {
    WriteError(op_amp.diagnostic(), errors);
    return 2;
  }
  const calc::Outcome<calc::SearchInputs> inputs =
      calc::ReadSearchTexts(texts->search, *op_amp, fresh_seed);
  if (!inputs) {
    WriteError(inputs.diagnostic(), errors);
    return 2;
  }
  const calc::Outcome<calc::PreferredValueSearch> search =
      calc::SearchPreferredValues(inputs->settings);
  if (!search) {
    WriteError(search.diagnostic(), errors);
    return 2;
  }

  switch (format) {
    case Format::kText:
      out << calc::SearchReport(*search);
      break;
    case Format::kJson:
      PrintJson(*search, out);
      break;
    case Format::kCsv:
      out << calc::SearchCsv(*search);
      break;
  }
  out.flush();
  int exit_code = 0;
  for (const calc::Diagnostic& warning : search->warnings) {
    WriteDiagnostic(warning, errors);
    exit_code = 1;
  }

  if (!input.bom.empty()) {
    // The design command's own set is always among those scored, so there is a best set.
    const calc::ScoredSet& best = search->sets.empty() ? search->reference : search->sets.front();
    const calc::DesignRequest& design = inputs->settings.design;
    std::ofstream file(input.bom, std::ios::binary | std::ios::trunc);
    file << calc::BomCsv(best, design.SeriesR, design.SeriesC, inputs->tolerances);
    file.close();
    if (!file) {
      errors << "error: cannot write the parts list to " << input.bom << '\n';
      exit_code = 1;
    }
  }
  return exit_code;
}

}  // namespace cli

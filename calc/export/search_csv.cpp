#include "calc/export/search_csv.h"

#include <array>
#include <string_view>
#include <vector>

#include "calc/export/csv_writer.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/number_text.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

constexpr std::string_view kColumns[] = {
    "set",     "r1",      "r2", "r3", "c1", "c2",       "r1_text", "r2_text", "r3_text",
    "c1_text", "c2_text", "fo", "q",  "h",  "fo_error", "q_error", "h_error", "score"};
constexpr std::string_view kYieldColumns[] = {"yield", "yield_low", "yield_high"};

void AppendSet(std::string& out, std::string_view name, const ScoredSet& set, bool yield) {
  std::vector<std::string> fields{std::string(name)};
  for (const double value : PartsOf(set.parts)) fields.push_back(ShortestText(value));
  for (const std::u16string& text : set.texts) fields.push_back(Utf16ToUtf8(TrimBlanks(text)));
  for (const double value : {set.figures.Fo, set.figures.Q, set.figures.H, set.errors.Fo,
                             set.errors.Q, set.errors.H, set.score}) {
    fields.push_back(ShortestText(value));
  }
  if (yield) {
    const std::optional<Proportion>& share = set.yield;
    for (const double value : {share ? share->fraction : kNoValue, share ? share->low : kNoValue,
                               share ? share->high : kNoValue}) {
      fields.push_back(ShortestText(value));
    }
  }
  AppendCsvRecord(out, fields);
}

}  // namespace

std::string SearchCsv(const PreferredValueSearch& search) {
  const bool yield = search.reference.yield.has_value();
  std::vector<std::string_view> columns(std::begin(kColumns), std::end(kColumns));
  if (yield) columns.insert(columns.end(), std::begin(kYieldColumns), std::end(kYieldColumns));
  std::string out;
  AppendCsvRecord(out, columns);
  AppendSet(out, "reference", search.reference, yield);
  for (std::size_t i = 0; i < search.sets.size(); ++i) {
    AppendSet(out, std::to_string(i + 1), search.sets[i], yield);
  }
  return out;
}

std::string SeriesName(std::int32_t series) {
  return series == 0 ? "none" : "E" + std::to_string(series);
}

std::string BomCsv(const ScoredSet& set, std::int32_t series_r, std::int32_t series_c,
                   const PartValues& tolerances) {
  std::string out;
  AppendCsvRecord(out, std::array<std::string_view, 5>{"designator", "value_text", "value",
                                                       "series", "tolerance"});
  const PartValues values = PartsOf(set.parts);
  for (int part = 0; part < kPartCount; ++part) {
    if (!HasPart(set.parts, part)) continue;
    const std::array<std::string, 5> fields = {
        std::string(kPartNames[part]), Utf16ToUtf8(TrimBlanks(set.texts[part])),
        ShortestText(values[part]), SeriesName(IsResistor(part) ? series_r : series_c),
        ShortestText(tolerances[part])};
    AppendCsvRecord(out, fields);
  }
  return out;
}

}  // namespace calc

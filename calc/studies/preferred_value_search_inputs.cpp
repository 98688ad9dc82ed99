#include "calc/studies/preferred_value_search_inputs.h"

#include <cmath>
#include <utility>

#include "calc/commands/command_messages.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/quantity_parse.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

// Far beyond any k or N the search takes, and inside int: the search's own check then
// names the range.
constexpr double kLargestCount = 1e9;

// A whole number typed as a quantity, or no value.
std::optional<int> ReadWholeNumber(std::u16string_view text) {
  const double value = ParseQuantity(text);
  if (!(std::fabs(value) <= kLargestCount) || value != std::floor(value)) return std::nullopt;
  return static_cast<int>(value);
}

// The percentage a text holds, or no value (which the search refuses as an allowance).
double ReadPercent(std::u16string_view text) {
  const Outcome<double> percent = ParsePercent(text);
  return percent ? *percent : kNoValue;
}

}  // namespace

DesignRequest ReadDesignTexts(const DesignTexts& texts) {
  DesignRequest request;
  request.Fo = ParseQuantity(texts.fo);
  request.Q = ParseQuantity(texts.q);
  request.H = GainOrUnity(ParseQuantity(texts.h));
  request.Zref = ParseQuantity(texts.zref);
  request.SeriesR = ParseSeriesSize(texts.series_r);
  request.SeriesC = ParseSeriesSize(texts.series_c);
  if (texts.lock) request.LockedC2 = ParseQuantity(texts.c2);
  return request;
}

OpAmp ReadOpAmpTexts(std::u16string_view gbw, std::u16string_view a0, std::u16string_view cin) {
  OpAmp op_amp;
  op_amp.Gbw = ParseQuantity(gbw);
  op_amp.A0 = ParseQuantity(a0);
  op_amp.Cin = ParseQuantity(cin);
  return op_amp;
}

Outcome<SearchInputs> ReadSearchTexts(const SearchTexts& texts, const std::optional<OpAmp>& op_amp,
                                      std::uint64_t fresh_seed) {
  // As ReadToleranceTexts: each input in the order of the checks, the settings checked once
  // it is in; the defaults of those still to come pass, so the first problem is its own.
  SearchInputs inputs;
  PreferredValueSearchSettings& settings = inputs.settings;
  const auto problem = [&] { return SearchSettingsProblem(settings); };
  settings.design = ReadDesignTexts(texts.design);
  if (std::optional<Diagnostic> found = problem()) return *std::move(found);
  settings.allowances = {ReadPercent(texts.allow_fo), ReadPercent(texts.allow_q),
                         ReadPercent(texts.allow_h)};
  if (std::optional<Diagnostic> found = problem()) return *std::move(found);

  const std::pair<const std::u16string*, Problem> counts[] = {
      {&texts.steps, Problem::kSearchStepsOutOfRange}, {&texts.top, Problem::kSearchTopOutOfRange}};
  int* const count_values[] = {&settings.steps, &settings.top};
  for (int i = 0; i < 2; ++i) {
    const std::optional<int> count = ReadWholeNumber(*counts[i].first);
    if (!count) return Diagnostic{counts[i].second, {Utf16ToUtf8(*counts[i].first)}};
    *count_values[i] = *count;
    if (std::optional<Diagnostic> found = problem()) return *std::move(found);
  }

  settings.op_amp = op_amp;
  if (std::optional<Diagnostic> found = problem()) return *std::move(found);

  // Without a yield run only the tolerances are read: the trial count and seed would be
  // refused for a run that does not happen.
  const bool yield = texts.yield || texts.ranking == Ranking::kYield;
  const ToleranceTexts defaults;
  ToleranceTexts tolerance = texts.tolerance;
  tolerance.limit_fo = defaults.limit_fo;
  tolerance.limit_q = defaults.limit_q;
  tolerance.limit_h = defaults.limit_h;
  if (!yield) {
    tolerance.trials = defaults.trials;
    tolerance.seed = std::u16string(1, u'0');
  }
  const Outcome<ToleranceSettings> run = ReadToleranceTexts(tolerance, fresh_seed);
  if (!run) return run.diagnostic();
  inputs.tolerances = run->tolerances;
  if (yield) settings.yield = *run;
  settings.ranking = texts.ranking;
  if (std::optional<Diagnostic> found = problem()) return *std::move(found);
  return inputs;
}

}  // namespace calc

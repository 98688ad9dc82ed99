// Reading the joint search's settings from the texts a user types: the design's inputs
// (the main window's fields, or korvane-cli's design options), the search's own (the
// optimisation page's fields, or its options), and the yield run's tolerance texts.
#ifndef KORVANE_CALC_STUDIES_PREFERRED_VALUE_SEARCH_INPUTS_H
#define KORVANE_CALC_STUDIES_PREFERRED_VALUE_SEARCH_INPUTS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"
#include "calc/circuit/circuit_parts.h"
#include "calc/studies/preferred_value_search.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/text/outcome.h"

namespace calc {

// The design's inputs as typed; the defaults are the main window's start-up texts. `lock`
// is the Lock box: keep the typed C2.
struct DesignTexts {
  std::u16string fo = u"1k", q = u"1.0", h = u"1.0", zref = u"10k";
  std::u16string series_r = u"24", series_c = u"6";
  bool lock = false;
  std::u16string c2;

  friend bool operator==(const DesignTexts&, const DesignTexts&) = default;
};

// The request the design command makes of these texts: fo, Q, H, the reference impedance
// and (with Lock) C2 by ParseQuantity, an empty H as unity gain, the series sizes by
// ParseSeriesSize ("∞", like any text that is no integer, is 0: unsnapped). Whether the
// values are usable is the search's to say (SearchSettingsProblem).
// {u"10k", u"8", u"", u"10k", u"24", u"∞"} -> {10000, 8, 1, 10000, 24, 0, no C2}.
DesignRequest ReadDesignTexts(const DesignTexts& texts);

// An op-amp's GBW, A0 and input capacitance as typed, by ParseQuantity; the search checks
// them. ReadOpAmpTexts(u"10M", u"100k", u"0") -> {100000, 1e7, 0}.
OpAmp ReadOpAmpTexts(std::u16string_view gbw, std::u16string_view a0, std::u16string_view cin);

// The search's own texts. Allowances are percentages (ParsePercent: a bare number is per
// cent too); k and N whole numbers (a quantity text: "1k" is 1000).
struct SearchTexts {
  DesignTexts design;
  std::u16string allow_fo = u"1%", allow_q = u"3%", allow_h = u"3%";
  std::u16string steps = u"2", top = u"10";
  bool yield = false;  // a yield run of the ranked sets; ranking by yield asks for one too
  Ranking ranking = Ranking::kScore;
  // The yield run's tolerances, distribution, trials and seed; its yield limits play no
  // part (a set's yield is judged against the allowances). The tolerances are read even
  // without a yield run: they are the parts list's.
  ToleranceTexts tolerance;
};

struct SearchInputs {
  PreferredValueSearchSettings settings;
  PartValues tolerances{};  // each part's tolerance, as a fraction
};

// The settings the texts give with `op_amp` (none: an ideal op-amp), or the diagnostic for
// the first unusable one. They are read in the order SearchSettingsProblem checks them,
// each checked as it comes in: an allowance without a number is kSearchAllowanceNotPositive,
// a k or N that is no whole number kSearchStepsOutOfRange or kSearchTopOutOfRange (the
// text the detail), the tolerance texts as ReadToleranceTexts reads them (its trial count
// and seed only for a yield run; an empty seed takes `fresh_seed`).
Outcome<SearchInputs> ReadSearchTexts(const SearchTexts& texts, const std::optional<OpAmp>& op_amp,
                                      std::uint64_t fresh_seed);

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_PREFERRED_VALUE_SEARCH_INPUTS_H

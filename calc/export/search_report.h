// The joint search of preferred values as text: the cells of its table, which the
// optimisation page shows and korvane-cli prints, and korvane-cli's text output.
#ifndef KORVANE_CALC_EXPORT_SEARCH_REPORT_H
#define KORVANE_CALC_EXPORT_SEARCH_REPORT_H

#include <array>
#include <string>

#include "calc/studies/preferred_value_search.h"

namespace calc {

// The table's columns: the parts, the figures, their errors, the score, the yield and its
// 95 % interval.
enum class SearchColumn {
  kR1,
  kR2,
  kR3,
  kC1,
  kC2,
  kFo,
  kQ,
  kH,
  kFoError,
  kQError,
  kHError,
  kScore,
  kYield,
  kYieldInterval,
};
inline constexpr int kSearchColumns = 14;
using SearchRowTexts = std::array<std::u16string, kSearchColumns>;

// The cells of `set`: the parts' texts and the figures as the window writes values, without
// their padding; the errors in per cent with two decimals and a sign ("+0.85%", "-1.76%",
// "0.00%"); the score with three decimals; the yield and its interval in per cent with one
// decimal ("97.2%", "96.9-97.5%"). A cell without a value (R2 left out, a figure not found,
// no yield run) is empty.
// The best set of fo 10k, Q 8, H 4 (E24 / E6, ideal) -> "47.000k", "510.000", "220.000k",
// "680.000p", "3.300n", "10.085k", "7.860", "3.881", "+0.85%", "-1.76%", "-2.97%", "0.991".
SearchRowTexts SearchRow(const ScoredSet& set);

// korvane-cli's text output (UTF-8, LF line ends): how many sets were searched, the
// continuous design for the design command's capacitors, the lowest GBW where there is an
// op-amp, then the table with a header line, the design command's set first as
// "reference" and the ranked sets numbered from 1, in columns padded to their widths.
std::string SearchReport(const PreferredValueSearch& search);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_SEARCH_REPORT_H

// The joint search of preferred values as CSV text: its table, for korvane-cli and the
// optimisation page's export, and the parts list (BOM) of one set.
#ifndef KORVANE_CALC_EXPORT_SEARCH_CSV_H
#define KORVANE_CALC_EXPORT_SEARCH_CSV_H

#include <cstdint>
#include <string>

#include "calc/circuit/circuit_parts.h"
#include "calc/studies/preferred_value_search.h"

namespace calc {

// One row per set, the design command's own first (set "reference"), then the ranked sets
// numbered from 1: "set,r1,r2,r3,c1,c2,r1_text,r2_text,r3_text,c1_text,c2_text,fo,q,h,
// fo_error,q_error,h_error,score" and, where the search ran a yield, "yield,yield_low,
// yield_high" (the 95 % interval). Values in ohms and farads, errors and yields as
// fractions, shortest round-trip numbers; a value that is absent (R2 left out) or was not
// found is an empty field. The texts are the fields' texts as the window writes them,
// without their padding.
// Records end in CR LF.
std::string SearchCsv(const PreferredValueSearch& search);

// The name of a series size in a parts list: "E24"; 0 (unsnapped) is "none".
std::string SeriesName(std::int32_t series);

// The parts list of `set`: "designator,value_text,value,series,tolerance" and a row per
// part present (R1, R2, R3, C1, C2): the value's text as the window writes it, without its
// padding ("22.000k"), the value (shortest round-trip), the series it was chosen from
// (SeriesName of `series_r` or `series_c`) and its tolerance as a fraction. CR LF.
// (22k, no R2, 180k, 1.5n, 1.5n), E24 / E6, 1 % / 5 % -> "R1,22.000k,22000,E24,0.01", ...
std::string BomCsv(const ScoredSet& set, std::int32_t series_r, std::int32_t series_c,
                   const PartValues& tolerances);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_SEARCH_CSV_H

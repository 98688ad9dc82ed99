// korvane-cli optimize: the joint search of preferred values for the design's inputs, from
// the texts a user types.
#ifndef KORVANE_CLI_OPTIMIZE_RUN_H
#define KORVANE_CLI_OPTIMIZE_RUN_H

#include <cstdint>
#include <ostream>
#include <string>

#include "calc/studies/preferred_value_search.h"
#include "cli/single_output.h"
#include "cli/text_commands.h"

namespace cli {

// The inputs as typed (UTF-8). An empty gbw means an ideal op-amp unless opamp names a part
// of the catalogue (gbw, a0 and cin typed beside it take the place of its own); an empty
// seed draws a new one; an empty bom writes no parts list.
struct OptimizeInput {
  DesignInput design;
  std::string steps = "2", top = "10";
  std::string allow_fo = "1%", allow_q = "3%", allow_h = "3%";
  std::string opamp;
  std::string gbw, a0 = "100k", cin = "0";
  std::string tol_r = "1%", tol_c = "5%";
  bool yield = false;  // a yield run of the ranked sets (ranking by yield asks for one too)
  std::string trials = "10000", seed;
  calc::Ranking ranking = calc::Ranking::kScore;
  std::string bom;  // the file for the best set's parts list
};

// Runs the search and writes it in `format` to `out`: text, calc::SearchReport; csv,
// calc::SearchCsv; json, {"reference": set, "candidates": [set, ...], "continuous": {"r1",
// "r2", "r3", "c1", "c2"} or null, "lowest_gbw_hz" (with an op-amp), "searched"}, each set
// {"r1", "r2", "r3", "c1", "c2" (numbers, r2 null when left out), "texts": {"r1" .. "c2"}
// (as the window writes them, without padding), "fo", "q", "h", "fo_error", "q_error",
// "h_error", "score", and with a yield run "yield" and "yield_interval": [low, high]}. A
// figure not found is null. With a bom file, the best set's parts list goes there
// (calc::BomCsv). Warnings go to `errors` as "warning: ..." lines. Returns 0 clean, 1 a
// warning or a parts list that could not be written, 2 settings the search refuses or an
// op-amp name not in the catalogue (the message on `errors` as "error: ...": nothing is
// searched).
int RunOptimize(const OptimizeInput& input, Format format, std::uint64_t fresh_seed,
                std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_OPTIMIZE_RUN_H

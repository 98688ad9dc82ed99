// korvane-cli tolerance: the tolerance analysis of a circuit given by its parts or by the
// design's inputs, from the texts a user types.
#ifndef KORVANE_CLI_TOLERANCE_RUN_H
#define KORVANE_CLI_TOLERANCE_RUN_H

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "calc/analysis/tolerance.h"
#include "calc/circuit/circuit_parts.h"
#include "cli/circuit_source.h"
#include "cli/single_output.h"
#include "cli/text_commands.h"

namespace cli {

// The options of the parts' own tolerances, in the order of calc::kPartNames.
inline constexpr std::array<std::string_view, calc::kPartCount> kPartToleranceOptions = {
    "--tol-r1", "--tol-r2", "--tol-r3", "--tol-c1", "--tol-c2"};

// The inputs as typed (UTF-8): the circuit's parts or design, and the run's settings. An
// empty seed draws a new one.
struct ToleranceInput {
  CircuitOptions circuit;
  std::string tol_r = "1%", tol_c = "5%";
  std::array<std::string, calc::kPartCount> tol_part;  // R1, R2, R3, C1, C2; empty: the kind's
  calc::Distribution distribution = calc::Distribution::kUniform;
  std::string trials = "10000";
  std::string seed;
  std::string limit_fo = "2%", limit_q = "5%", limit_h = "5%";
  // The op-amp for the sensitivities of the measured figures; none without a GBW.
  std::string gbw, a0 = "100k";
};

// Runs the analysis and writes it in `format` to `out`: text, the tolerance report (LF line
// ends); json, {"sensitivity": {"fo": {"r1": ..}, "q": .., "h": ..}, "worst_case": {"fo":
// [min, max], ..}, "monte_carlo": {"trials", "seed", "distribution", "fo": {"min", "p0_5",
// "p5", "p50", "p95", "p99_5", "max"}, ..}, "yield_centre": {"about": "target" (with --design) or
// "nominal", "fo", "q", "h"}, "yield": fraction, "yield_interval": [low,
// high]} (R2's entries absent without R2), with a GBW also "model_sensitivity" (the
// measured peak frequency, bandwidth Q and peak gain as fo, q and h, each with "gbw" too);
// csv, the trials one row each. Warnings and
// errors go to `errors` as "warning: ..." and "error: ...". A warning that leaves no circuit
// or no usable settings ends the run. `fresh_seed` is the seed for an empty seed text.
// Returns the exit code: 0 clean, 1 a warning or an error.
int RunTolerance(const ToleranceInput& input, Format format, std::uint64_t fresh_seed,
                 std::ostream& out, std::ostream& errors);

}  // namespace cli

#endif  // KORVANE_CLI_TOLERANCE_RUN_H

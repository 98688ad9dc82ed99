// Where korvane-cli's op-amp comes from: a part of the catalogue named with --opamp, the
// figures typed with --gbw .. --swing, or both, the typed figures then taking the part's
// place; and the conditions the stage works in (--supply .. --band-high).
#ifndef KORVANE_CLI_OP_AMP_SOURCE_H
#define KORVANE_CLI_OP_AMP_SOURCE_H

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/circuit/op_amp_part.h"
#include "calc/studies/stage_op_amp.h"
#include "calc/studies/stage_study.h"
#include "calc/text/outcome.h"

namespace cli {

// The options as typed (UTF-8); empty: not given. Slew in V/us, swing in V from each rail.
struct OpAmpOptions {
  std::string opamp;
  std::string gbw, a0, cin, en, en_corner, in, in_corner, slew, swing;
};

// Without a part, a GBW typed alone has this A0, as it always has.
inline constexpr const char* kDefaultA0 = "100k";

// The catalogue (data::LoadOpAmpCatalogue from the default places), read on first use; its
// warnings are written to `errors` then, once. They say what was left out of the catalogue
// and do not change a run's exit status.
const std::vector<calc::OpAmpPart>& CliCatalogue(std::ostream& errors);

// The op-amp: the part named (its figures by calc::StageOpAmpOf) with the typed figures in
// place of its own. Without a part and a GBW there is no op-amp model (an ideal op-amp);
// the other typed figures still count. Fails with kUnknownOpAmp or kUnknownOpAmpNear for a
// name not in the catalogue (a usage error, IsUsageError), kOpAmpLacksFigure for a part
// without a GBW or an A0 when none is typed, a text that is not UTF-8 or a figure that
// calc::ReadStageSetting refuses.
calc::Outcome<calc::StageOpAmp> ReadOpAmpOptions(const OpAmpOptions& options, std::ostream& errors);

// The model alone (GBW, A0, input capacitance) of the op-amp ReadOpAmpOptions reads from
// --opamp, --gbw, --a0 and --cin: for commands that use nothing else of it.
calc::Outcome<std::optional<calc::OpAmp>> ReadOpAmpModelOptions(const std::string& opamp,
                                                                const std::string& gbw,
                                                                const std::string& a0,
                                                                const std::string& cin,
                                                                std::ostream& errors);

// Whether the diagnostic is a usage error (exit status 2) rather than a failed run.
bool IsUsageError(const calc::Diagnostic& diagnostic);

// The texts of the conditions (--supply, --amplitude, --load, --temperature, --band-low,
// --band-high); an empty band end: fo / 10 or 10 fo.
struct ConditionOptions {
  std::string supply = "30", amplitude = "1", load = "10k", temperature = "25";
  std::string band_low, band_high;
};

calc::Outcome<calc::StageConditions> ReadConditionOptions(const ConditionOptions& options);

}  // namespace cli

#endif  // KORVANE_CLI_OP_AMP_SOURCE_H

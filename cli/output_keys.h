// The names korvane-cli gives the circuit's figures and parts wherever it writes them as
// keys: JSON members, CSV columns and batch columns. Lower case and the same in every
// subcommand, so that a script reads "q" from design, analyze, tolerance and the rest alike.
#ifndef KORVANE_CLI_OUTPUT_KEYS_H
#define KORVANE_CLI_OUTPUT_KEYS_H

#include <array>
#include <string_view>

#include "calc/circuit/circuit_parts.h"

namespace cli::keys {

inline constexpr std::string_view kFo = "fo";
inline constexpr std::string_view kQ = "q";
inline constexpr std::string_view kH = "h";
// In the order of calc::kPartNames.
inline constexpr std::array<std::string_view, calc::kPartCount> kParts = {"r1", "r2", "r3", "c1",
                                                                          "c2"};
// The op-amp's gain-bandwidth product, where it stands beside the parts.
inline constexpr std::string_view kGbw = "gbw";

}  // namespace cli::keys

#endif  // KORVANE_CLI_OUTPUT_KEYS_H

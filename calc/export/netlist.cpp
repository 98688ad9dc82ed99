#include "calc/export/netlist.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string_view>

#include "calc/circuit/band_pass.h"

namespace calc {
namespace {

// The op-amp's DC gain when it is meant to be ideal: the closed-loop error it leaves,
// about 1/(A beta), lies far below anything a plot or a 0.01 dB comparison shows.
constexpr double kIdealGain = 1e9;

void AddLine(std::string& deck, std::initializer_list<std::string_view> pieces) {
  for (const std::string_view piece : pieces) deck += piece;
  deck += '\n';
}

}  // namespace

std::string SpiceNumber(double value) {
  std::array<char, 32> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific);
  return std::string(buffer.data(), result.ptr);
}

std::string SpiceNetlist(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const NetlistSweep& sweep) {
  const std::string r1 = SpiceNumber(circuit.R1), r2 = SpiceNumber(circuit.R2),
                    r3 = SpiceNumber(circuit.R3), c1 = SpiceNumber(circuit.C1),
                    c2 = SpiceNumber(circuit.C2);
  std::string deck;
  AddLine(deck, {"* Korvane multiple-feedback band-pass: R1=", r1,
                 circuit.HasR2() ? " R2=" + r2 : std::string(" (no R2)"), " R3=", r3, " C1=", c1,
                 " C2=", c2});
  AddLine(deck,
          {"* Values in ohms, farads and hertz, written out in full: SPICE reads M as milli."});
  AddLine(deck, {"VIN in 0 DC 0 AC 1"});
  AddLine(deck, {"R1 in sum ", r1});
  if (circuit.HasR2()) AddLine(deck, {"R2 sum 0 ", r2});
  AddLine(deck, {"C1 sum out ", c1});
  AddLine(deck, {"C2 sum inv ", c2});
  AddLine(deck, {"R3 inv out ", r3});
  AddLine(deck, {"XU1 0 inv out opamp"});
  deck += '\n';
  if (op_amp) {
    // A(s) = A0 / (1 + s A0 / (2 pi GBW)): a unit transconductance into RP || CP gives the
    // DC gain A0 and the pole at GBW / A0; the E source buffers it to the output.
    AddLine(deck, {"* Op-amp: A0=", SpiceNumber(op_amp->A0), " GBW=", SpiceNumber(op_amp->Gbw),
                   " Hz, one pole"});
    AddLine(deck, {".subckt opamp inp inn out"});
    AddLine(deck, {"G1 0 pole inp inn 1"});
    AddLine(deck, {"RP pole 0 ", SpiceNumber(op_amp->A0)});
    AddLine(deck, {"CP pole 0 ", SpiceNumber(1.0 / (kTwoPi * op_amp->Gbw))});
    AddLine(deck, {"E1 out 0 pole 0 1"});
    if (op_amp->Cin != 0) AddLine(deck, {"CIN inn 0 ", SpiceNumber(op_amp->Cin)});
  } else {
    AddLine(deck, {"* Op-amp: ideal (a voltage gain of ", SpiceNumber(kIdealGain), ")"});
    AddLine(deck, {".subckt opamp inp inn out"});
    AddLine(deck, {"E1 out 0 inp inn ", SpiceNumber(kIdealGain)});
  }
  AddLine(deck, {".ends opamp"});
  deck += '\n';

  // Points a decade so that the sweep has at least as many points as asked.
  const double decades = std::log10(sweep.to_hz / sweep.from_hz);
  const double per_decade =
      decades > 0 ? std::ceil((std::max(sweep.points, 2) - 1) / decades) : 1.0;
  const long long points_per_decade =
      std::isfinite(per_decade) ? static_cast<long long>(std::clamp(per_decade, 1.0, 1e6)) : 1;
  AddLine(deck, {".ac dec ", std::to_string(points_per_decade), " ", SpiceNumber(sweep.from_hz),
                 " ", SpiceNumber(sweep.to_hz)});
  AddLine(deck, {".print ac vdb(out) vp(out)"});
  AddLine(deck, {".end"});
  return deck;
}

}  // namespace calc

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

// The op-amp's noise sources. SPICE has no noise source of its own for .noise, so each is
// the noise current of a 1-ohm resistor carrying 1 A: 4kT/R thermal noise for the white
// floor and, from the resistor model, flicker noise kf I^af / f^ef with af = ef = 1 for the
// 1/f part. The current's 1 V across it is taken away by VNREF, so the operating point
// stays at zero, and a controlled source scales the noise to en in series with the
// non-inverting input (node enp) or to in into the inverting input:
//   en(f)^2 = gain^2 (4kT + kf / f)  with gain = en / sqrt(4kT) and kf = 4kT fc.
void AddOpAmpNoise(std::string& deck, const OpAmpNoise& noise, double temperature_c) {
  const double four_kt = 4.0 * kBoltzmann * (kZeroCelsius + temperature_c);
  const auto generator = [&](std::string_view id, double density, double corner_hz,
                             std::string_view output) {
    // The generator of `id` ("EN", "IN"): source I<id>, node n<id>, resistor R<id>, model r<id>.
    AddLine(deck, {"I", id, " 0 n", id, " DC 1"});
    if (corner_hz > 0) {
      AddLine(deck, {"R", id, " n", id, " 0 1 r", id});
      AddLine(deck, {".model r", id, " r (kf=", SpiceNumber(four_kt * corner_hz), " af=1 ef=1)"});
    } else {
      AddLine(deck, {"R", id, " n", id, " 0 1"});
    }
    AddLine(deck, {output, "n", id, " nref ", SpiceNumber(density / std::sqrt(four_kt))});
  };
  AddLine(deck, {"* Op-amp noise, each from a 1-ohm resistor carrying 1 A (thermal noise, and"});
  AddLine(deck, {"* flicker noise kf/f from its model), scaled by a controlled source."});
  AddLine(deck, {"VNREF nref 0 DC 1"});
  if (noise.en_v_rthz > 0) {
    AddLine(deck, {"* en = ", SpiceNumber(noise.en_v_rthz), " V/rtHz, 1/f corner ",
                   SpiceNumber(noise.en_corner_hz), " Hz, in series with the + input"});
    generator("EN", noise.en_v_rthz, noise.en_corner_hz, "EEN enp 0 ");
  }
  if (noise.in_a_rthz > 0) {
    AddLine(deck, {"* in = ", SpiceNumber(noise.in_a_rthz), " A/rtHz, 1/f corner ",
                   SpiceNumber(noise.in_corner_hz), " Hz, into the - input"});
    generator("IN", noise.in_a_rthz, noise.in_corner_hz, "GIN 0 inv ");
  }
  deck += '\n';
}

// ngspice integrates the noise density between its sweep's points as if it were a power
// law there, which a narrow peak defeats: 100 points a decade over a Q of 20 leave two
// points within its -3 dB band and the integral 1.7 % short. 50 points a decade per unit of
// Q put some 20 points in the band, and the integral within 0.02 %.
long long NoisePointsPerDecade(const Circuit& circuit, const std::optional<OpAmp>& op_amp) {
  double q = 1.0;
  const auto widen = [&q](double measured) {
    if (measured > q) q = measured;  // NaN: not found
  };
  widen(MeasureCircuit(circuit, std::nullopt).q_bandwidth);
  if (op_amp) widen(MeasureCircuit(circuit, op_amp).q_bandwidth);
  return static_cast<long long>(std::ceil(50.0 * std::min(q, 2e4)));
}

}  // namespace

std::string SpiceNumber(double value) {
  // Rounded to 12 significant digits first: a snapped 15 nF that the arithmetic left at
  // 1.4999999999999492e-08 is written as a designer writes it, and the 5e-13 it moves the
  // part lies far below anything a simulation shows.
  std::array<char, 32> buffer;
  const auto rounded = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                     std::chars_format::scientific, kSpiceDigits - 1);
  double shortened = value;
  std::from_chars(buffer.data(), rounded.ptr, shortened, std::chars_format::scientific);
  // inf and nan come back unchanged; a finite value never overflows 12 digits.
  if (!std::isfinite(value)) shortened = value;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), shortened,
                                    std::chars_format::scientific);
  return std::string(buffer.data(), result.ptr);
}

std::string SpiceNetlist(const Circuit& circuit, const std::optional<OpAmp>& op_amp,
                         const NetlistSweep& sweep, const NetlistNoise& noise) {
  const std::string r1 = SpiceNumber(circuit.R1), r2 = SpiceNumber(circuit.R2),
                    r3 = SpiceNumber(circuit.R3), c1 = SpiceNumber(circuit.C1),
                    c2 = SpiceNumber(circuit.C2);
  const OpAmpNoise& en_in = noise.op_amp;
  const bool has_en = en_in.en_v_rthz > 0, has_in = en_in.in_a_rthz > 0;
  std::string deck;
  AddLine(deck, {"* Korvane multiple-feedback band-pass: R1=", r1,
                 circuit.HasR2() ? " R2=" + r2 : std::string(" (no R2)"), " R3=", r3, " C1=", c1,
                 " C2=", c2});
  AddLine(deck, {"* Values in ohms, farads and hertz, in exponent form: SPICE reads M as milli."});
  AddLine(deck, {".temp ", SpiceNumber(noise.temperature_c)});
  AddLine(deck, {"VIN in 0 DC 0 AC 1"});
  AddLine(deck, {"R1 in sum ", r1});
  if (circuit.HasR2()) AddLine(deck, {"R2 sum 0 ", r2});
  AddLine(deck, {"C1 sum out ", c1});
  AddLine(deck, {"C2 sum inv ", c2});
  AddLine(deck, {"R3 inv out ", r3});
  AddLine(deck, {"XU1 ", has_en ? "enp" : "0", " inv out opamp"});
  deck += '\n';
  if (has_en || has_in) AddOpAmpNoise(deck, en_in, noise.temperature_c);
  if (op_amp) {
    // A(s) = A0 / (1 + s A0 / (2 pi GBW)): a unit transconductance into RP || CP gives the
    // DC gain A0 and the pole at GBW / A0; the E source buffers it to the output.
    AddLine(deck, {"* Op-amp: A0=", SpiceNumber(op_amp->A0), " GBW=", SpiceNumber(op_amp->Gbw),
                   " Hz, one pole", op_amp->Cin > 0 ? ", input capacitance CIN" : ""});
    AddLine(deck, {".subckt opamp inp inn out"});
    AddLine(deck, {"G1 0 pole inp inn 1"});
    AddLine(deck, {"RP pole 0 ", SpiceNumber(op_amp->A0)});
    AddLine(deck, {"CP pole 0 ", SpiceNumber(1.0 / (kTwoPi * op_amp->Gbw))});
    if (op_amp->Cin > 0) AddLine(deck, {"CIN inn 0 ", SpiceNumber(op_amp->Cin)});
    AddLine(deck, {"E1 out 0 pole 0 1"});
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
  const std::string from = SpiceNumber(sweep.from_hz), to = SpiceNumber(sweep.to_hz);
  AddLine(deck, {".ac dec ", std::to_string(points_per_decade), " ", from, " ", to});
  const long long noise_per_decade =
      std::max(points_per_decade, NoisePointsPerDecade(circuit, op_amp));
  AddLine(deck, {".noise v(out) VIN dec ", std::to_string(noise_per_decade), " ", from, " ", to});
  AddLine(deck, {".print ac vdb(out) vp(out)"});
  // One vector a table: the noise tables stay apart from the gain and phase rows.
  AddLine(deck, {".print noise onoise_spectrum"});
  AddLine(deck, {".print noise inoise_spectrum"});
  AddLine(deck, {".print noise onoise_total inoise_total"});
  AddLine(deck, {".end"});
  return deck;
}

}  // namespace calc

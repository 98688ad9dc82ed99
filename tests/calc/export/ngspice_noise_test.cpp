// The exported deck's noise analysis, simulated by ngspice, must give the noise the model
// computes: the output noise density within 0.1 dB at every frequency of the sweep from
// fo/100 to 100 fo, the noise integrated over that sweep within 0.5 %, and each source's
// share and the AC voltages of the deck's nodes alike; for circuits with and without R2,
// white and 1/f op-amp noise, real and ideal op-amps, at several temperatures. Skipped
// without ngspice, except in CI (CI=true), where a missing simulator fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "calc/analysis/headroom.h"
#include "calc/analysis/noise.h"
#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"
#include "calc/export/netlist.h"
#include "tests/support/ngspice_run.h"

namespace {

using test_support::PrintedTable;
using test_support::RunNgspice;
using test_support::WrittenColumns;

struct Case {
  const char* name;
  calc::DesignRequest request;
  bool has_r2;
  std::optional<calc::OpAmp> op_amp;
  calc::OpAmpNoise noise;
  double temperature_c;
  double least_op_amp_share;  // of the sweep's noise power: the op-amp's noise is tested too
};

// One case a row, as written.
// clang-format off
const Case kCases[] = {
    {"q5_ideal", {1e3, 5, 2, 10e3, 96, 12}, true, std::nullopt, {}, 25, 0},
    {"no_r2_white", {1e3, 1, 2, 10e3, 24, 6}, false, calc::OpAmp{2e5, 3e6, 7e-12},
     {18e-9, 0, 10e-15, 0}, 25, 0.3},
    {"q5_flicker_hot", {1e3, 5, 2, 10e3, 96, 12}, true, calc::OpAmp{1.5e6, 8e6, 10e-12},
     {3.2e-9, 2.7, 0.4e-12, 140}, 85, 0.3},
    {"q20_100k_flicker", {100e3, 20, 1, 1e3, 192, 24}, true, calc::OpAmp{1e5, 50e6, 4.5e-12},
     {5e-9, 1e3, 2e-12, 10e3}, 25, 0.3},
    {"no_r2_ideal_noisy_cold", {10e3, 2, 20, 4.7e3, 24, 6}, false, std::nullopt,
     {4e-9, 50, 1e-12, 200}, -40, 0.3},
};
// clang-format on

double Db(double a, double b) { return std::fabs(20.0 * std::log10(a / b)); }

// The deck as exported, with the per-source summary asked of .noise and a control block
// that writes the densities of the total and of each of `generators` (ngspice names each by
// its element: the op-amp's noise comes from REN and RIN) and the nodes' AC voltages.
std::string WithWrittenVectors(std::string deck, const std::vector<std::string>& generators,
                               const std::string& noise_file, const std::string& ac_file) {
  const std::size_t noise_line = deck.find(".noise ");
  deck.insert(deck.find('\n', noise_line), " 1");
  deck.erase(deck.rfind(".end"));
  deck += ".control\nset wr_singlescale\nset wr_vecnames\noption numdgt=15\nrun\n";
  deck += "setplot noise1\nwrdata " + noise_file + " onoise_spectrum";
  for (const std::string& generator : generators) deck += " onoise_" + generator;
  deck += "\nsetplot ac1\nwrdata " + ac_file + " vm(out) vm(sum) vm(inv)\n.endc\n.end\n";
  return deck;
}

class NgspiceNoise : public testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::NgspiceAvailable()) {
      const char* ci = std::getenv("CI");
      if (ci != nullptr && std::string(ci) == "true") FAIL() << "ngspice is not installed";
      GTEST_SKIP() << "ngspice is not installed";
    }
  }
};

TEST_F(NgspiceNoise, TheExportedDeckGivesTheModelsNoise) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const calc::Circuit circuit = calc::Design(c.request).Snapped;
    ASSERT_EQ(circuit.HasR2(), c.has_r2);
    const double fo = calc::Analyze(circuit).Fo;
    const calc::NetlistSweep sweep{fo / 100, fo * 100, 400};
    const test_support::NgspiceRun run =
        RunNgspice(calc::SpiceNetlist(circuit, c.op_amp, sweep, {c.noise, c.temperature_c}),
                   std::string("noise_") + c.name);
    ASSERT_EQ(run.status, 0);
    const auto spectrum = PrintedTable(run.output, "onoise_spectrum");
    const auto total = PrintedTable(run.output, "onoise_total");
    ASSERT_GE(spectrum.size(), 400U);
    ASSERT_EQ(total.size(), 1U);
    EXPECT_NEAR(spectrum.front()[0], sweep.from_hz, sweep.from_hz * 1e-6);
    EXPECT_NEAR(spectrum.back()[0], sweep.to_hz, sweep.to_hz * 1e-6);

    std::vector<double> frequencies;
    for (const auto& row : spectrum) frequencies.push_back(row[0]);
    calc::NoiseSettings settings;
    settings.temperature_c = c.temperature_c;
    settings.band_low_hz = sweep.from_hz;
    settings.band_high_hz = sweep.to_hz;
    const auto noise = calc::AnalyzeNoise(circuit, c.op_amp, c.noise, settings, frequencies);
    ASSERT_TRUE(noise.ok());
    double worst_db = 0;
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
      worst_db = std::max(worst_db, Db(noise->total_v_rthz[i], spectrum[i][1]));
    }
    EXPECT_LT(worst_db, 0.1);
    EXPECT_NEAR(noise->output_rms_v, total[0][0], 0.005 * total[0][0]);
    EXPECT_GE(noise->share[calc::kNoiseEn] + noise->share[calc::kNoiseIn], c.least_op_amp_share);
  }
}

TEST_F(NgspiceNoise, EachSourceAndNodeAgreesWithTheDeck) {
  const char* const kGenerators[calc::kNoiseSourceCount] = {"r1", "r2", "r3", "ren", "rin"};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const calc::Circuit circuit = calc::Design(c.request).Snapped;
    const double fo = calc::Analyze(circuit).Fo;
    const std::string stem = std::string("sources_") + c.name;
    const std::string noise_file = (test_support::ScratchFolder() / (stem + ".noise")).string();
    const std::string ac_file = (test_support::ScratchFolder() / (stem + ".ac")).string();
    const std::array<bool, calc::kNoiseSourceCount> present =
        calc::NoiseSourcesOf(circuit, c.noise);
    std::vector<std::string> generators;
    for (int s = 0; s < calc::kNoiseSourceCount; ++s) {
      if (present[s]) generators.push_back(kGenerators[s]);
    }
    const std::string deck = calc::SpiceNetlist(circuit, c.op_amp, {fo / 100, fo * 100, 400},
                                                {c.noise, c.temperature_c});
    ASSERT_EQ(RunNgspice(WithWrittenVectors(deck, generators, noise_file, ac_file), stem).status,
              0);

    const auto noise_rows = WrittenColumns(noise_file);
    ASSERT_GE(noise_rows.size(), 400U);
    std::vector<double> frequencies;
    for (const auto& row : noise_rows) frequencies.push_back(row[0]);
    calc::NoiseSettings settings;
    settings.temperature_c = c.temperature_c;
    const auto noise = calc::AnalyzeNoise(circuit, c.op_amp, c.noise, settings, frequencies);
    ASSERT_TRUE(noise.ok());
    double worst_db = 0;
    for (std::size_t i = 0; i < noise_rows.size(); ++i) {
      ASSERT_EQ(noise_rows[i].size(), 2 + generators.size());
      worst_db = std::max(worst_db, Db(noise->total_v_rthz[i], noise_rows[i][1]));
      std::size_t column = 2;  // after the frequency and the total
      for (int s = 0; s < calc::kNoiseSourceCount; ++s) {
        if (!present[s]) continue;
        worst_db = std::max(worst_db, Db(noise->source_v_rthz[s][i], noise_rows[i][column++]));
      }
    }
    EXPECT_LT(worst_db, 0.01);

    const auto ac_rows = WrittenColumns(ac_file);
    ASSERT_GE(ac_rows.size(), 400U);
    std::vector<double> ac_frequencies;
    for (const auto& row : ac_rows) ac_frequencies.push_back(row[0]);
    const auto headroom = calc::AnalyzeHeadroom(circuit, c.op_amp, {}, ac_frequencies);
    ASSERT_TRUE(headroom.ok());
    double worst_node_db = 0;
    for (std::size_t i = 0; i < ac_rows.size(); ++i) {
      worst_node_db = std::max({worst_node_db, Db(headroom->output_v[i], ac_rows[i][1]),
                                Db(headroom->summing_node_v[i], ac_rows[i][2])});
      if (c.op_amp) {
        worst_node_db = std::max(worst_node_db, Db(headroom->inverting_input_v[i], ac_rows[i][3]));
      } else {
        // The deck's ideal op-amp has a gain of 1e9: its inverting input all but still.
        EXPECT_EQ(headroom->inverting_input_v[i], 0.0);
        EXPECT_LT(ac_rows[i][3], 1e-7 * ac_rows[i][1] + 1e-12);
      }
    }
    EXPECT_LT(worst_node_db, 0.1);
  }
}

}  // namespace

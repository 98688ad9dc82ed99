// The exported netlist, simulated by ngspice, must give the response the model computes:
// within 0.01 dB and 0.1 degrees at every frequency of the sweep, for designs from low-Q
// audio to Q 20 at 100 kHz, with and without R2, ideal and real op-amps, with and without
// input capacitance. Skipped without ngspice, except in CI (CI=true), where a missing
// simulator fails the test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "calc/analysis/response.h"
#include "calc/circuit/band_pass.h"
#include "calc/export/netlist.h"

namespace {

struct SimulatedPoint {
  double frequency_hz, gain_db, phase_rad;
};

bool NgspiceAvailable() { return std::system("command -v ngspice >/dev/null 2>&1") == 0; }

// A new folder of its own in the system's temporary folder, removed with everything in it
// at the end of the test: two suites running at once (the normal and the sanitizer
// build, or two clones) never share a file.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane_ngspice.XXXXXX");
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Empty when the folder could not be made.
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs ngspice in batch mode on the deck in `folder` and reads the .print table.
std::vector<SimulatedPoint> Simulate(const std::filesystem::path& folder, const std::string& deck,
                                     const std::string& name) {
  const std::filesystem::path deck_path = folder / (name + ".cir");
  const std::filesystem::path output_path = folder / (name + ".out");
  std::ofstream(deck_path) << deck;
  // ngspice's warnings go to their own file: written unbuffered, they would land inside
  // a row of the table ("1.60Warning from checkvalid: ...").
  const std::string command = "ngspice -b '" + deck_path.string() + "' >'" + output_path.string() +
                              "' 2>'" + output_path.string() + ".err'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<SimulatedPoint> points;
  std::ifstream output(output_path);
  std::string line;
  while (std::getline(output, line)) {
    std::istringstream fields(line);
    long index;
    SimulatedPoint point;
    if (fields >> index >> point.frequency_hz >> point.gain_db >> point.phase_rad) {
      points.push_back(point);
    }
  }
  return points;
}

struct Case {
  const char* name;
  calc::DesignRequest request;
  std::optional<calc::OpAmp> op_amp;
};

TEST(Netlist, NgspiceAgreesWithTheModel) {
  if (!NgspiceAvailable()) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true") FAIL() << "ngspice is not installed";
    GTEST_SKIP() << "ngspice is not installed";
  }
  const Case cases[] = {
      {"audio_q07_ideal", {100, 0.7, 1, 10e3, 24, 6}, std::nullopt},
      {"default_ideal", {1e3, 1, 1, 10e3, 24, 6}, std::nullopt},
      {"no_r2_ideal", {1e3, 1, 2, 10e3, 24, 6}, std::nullopt},
      {"q5_tl072", {1e3, 5, 2, 10e3, 96, 12}, calc::OpAmp{2e5, 3e6}},
      {"q5_slow", {1e3, 5, 2, 10e3, 96, 12}, calc::OpAmp{1e5, 100e3}},
      {"q20_100k_ideal", {100e3, 20, 1, 1e3, 192, 24}, std::nullopt},
      {"q20_100k_fast", {100e3, 20, 1, 1e3, 192, 24}, calc::OpAmp{1e6, 1e9}},
      {"q20_100k_moved", {100e3, 20, 1, 1e3, 192, 24}, calc::OpAmp{1e5, 50e6}},
      {"no_r2_gain20_opamp", {10e3, 2, 20, 4.7e3, 24, 6}, calc::OpAmp{1e5, 10e6}},
      {"high_impedance_cin", {10e3, 5, 2, 100e3, 96, 12}, calc::OpAmp{1e5, 10e6, 20e-12}},
      {"no_r2_gain20_cin", {10e3, 2, 20, 4.7e3, 24, 6}, calc::OpAmp{1e5, 10e6, 100e-12}},
  };
  const TemporaryFolder folder;
  ASSERT_FALSE(folder.path().empty()) << "no temporary folder";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const calc::Circuit circuit = calc::Design(c.request).Snapped;
    const double fo = calc::Analyze(circuit).Fo;
    const calc::NetlistSweep sweep{fo / 100, fo * 100, 400};
    const std::vector<SimulatedPoint> points =
        Simulate(folder.path(), calc::SpiceNetlist(circuit, c.op_amp, sweep), c.name);
    ASSERT_GE(points.size(), 400U);
    EXPECT_NEAR(points.front().frequency_hz, sweep.from_hz, sweep.from_hz * 1e-6);
    EXPECT_NEAR(points.back().frequency_hz, sweep.to_hz, sweep.to_hz * 1e-6);
    double worst_db = 0, worst_deg = 0;
    for (const SimulatedPoint& point : points) {
      const std::complex<double> model =
          calc::CircuitResponse(circuit, c.op_amp, point.frequency_hz);
      worst_db = std::max(worst_db, std::fabs(calc::GainDb(model) - point.gain_db));
      // Phases compared on the circle: 179.99 and -179.99 degrees are 0.02 apart.
      const double difference =
          std::remainder(calc::PhaseDeg(model) - point.phase_rad * 180 / std::numbers::pi, 360.0);
      worst_deg = std::max(worst_deg, std::fabs(difference));
    }
    EXPECT_LT(worst_db, 0.01);
    EXPECT_LT(worst_deg, 0.1);
  }
}

// The model itself moves the peak by several per cent in the cases meant to, so that the
// agreement above is not only the ideal circuit's.
TEST(Netlist, RealOpAmpCasesMoveThePeak) {
  const calc::Circuit q20 = calc::Design({100e3, 20, 1, 1e3, 192, 24}).Snapped;
  const double ideal = calc::MeasureCircuit(q20, std::nullopt).peak_hz;
  const double moved = calc::MeasureCircuit(q20, calc::OpAmp{1e5, 50e6}).peak_hz;
  EXPECT_GT(std::fabs(moved - ideal) / ideal, 0.02);
}

}  // namespace

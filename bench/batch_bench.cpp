// The batch against the design it runs: one million design rows through CSV in and out,
// beside one million calls of the value design, in the same run.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "calc/band_pass.h"
#include "cli/batch.h"

namespace {

constexpr int kRows = 1'000'000;

// Start-up-like targets that vary from row to row, as a sweep would.
std::string DesignRows() {
  std::string csv = "fo,q,h,zref,series_r,series_c,lock,c2\n";
  for (int i = 0; i < kRows; ++i) {
    csv += std::to_string(100 + i % 9000) + "," + (i % 3 == 0 ? "0.7" : "2") + ",1.5,10k,24,6,,\n";
  }
  return csv;
}

void BM_DesignCalls(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < kRows; ++i) {
      const calc::DesignRequest request{100.0 + i % 9000, i % 3 == 0 ? 0.7 : 2.0, 1.5, 10e3, 24, 6};
      benchmark::DoNotOptimize(calc::Design(request));
    }
  }
}
BENCHMARK(BM_DesignCalls)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DesignBatch(benchmark::State& state) {
  const std::string input = DesignRows();
  for (auto _ : state) {
    std::istringstream in(input);
    std::ostringstream out, errors;
    benchmark::DoNotOptimize(cli::RunBatch(cli::Command::kDesign, in, out, errors));
  }
}
BENCHMARK(BM_DesignBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

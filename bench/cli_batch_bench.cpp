// The batch's CSV work against the design itself: one million design rows through
// `korvane-cli design --batch` (reading, the text-level run, formatting, writing) beside one
// million calls of calc::Design on the same targets, already read into values.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstddef>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "calc/circuit/band_pass.h"
#include "calc/text/quantity_parse.h"
#include "cli/batch/batch.h"
#include "cli/utf8.h"

namespace {

constexpr std::size_t kRows = 1'000'000;

// Targets as a designer types them: fo over four decades, Q and H from 0.5 to 20, the
// usual series, one row in eight with C2 locked.
struct TypedRow {
  std::string_view fo, q, h, zref, series_r, series_c, lock, c2;
};

std::vector<TypedRow> MakeRows() {
  static const char* const kFo[] = {"10", "47", "100", "330", "1k", "2.2k", "4k7", "10k", "33k"};
  static const char* const kQ[] = {"0.5", "0.707", "1", "2", "3.3", "5", "10", "20"};
  static const char* const kH[] = {"0.5", "1", "1.0", "2", "4.7", "10", "20"};
  static const char* const kZref[] = {"1k", "4.7k", "10k", "47k"};
  static const char* const kSeriesR[] = {"12", "24", "48", "96", "192"};
  static const char* const kSeriesC[] = {"3", "6", "12", "24"};
  static const char* const kC2[] = {"1n", "4.7n", "10n", "22n", "100n"};
  std::vector<TypedRow> rows;
  rows.reserve(kRows);
  for (std::size_t i = 0; i < kRows; ++i) {
    const bool lock = i % 8 == 7;
    rows.push_back({kFo[i % 9], kQ[i / 9 % 8], kH[i / 72 % 7], kZref[i / 504 % 4], kSeriesR[i % 5],
                    kSeriesC[i / 5 % 4], lock ? "1" : "0", lock ? kC2[i / 8 % 5] : ""});
  }
  return rows;
}

const std::vector<TypedRow>& Rows() {
  static const std::vector<TypedRow> rows = MakeRows();
  return rows;
}

double Parse(std::string_view text) { return calc::ParseQuantity(*cli::Utf8ToUtf16(text)); }

// Processor time of every thread of the process so far, in seconds: the batch's work on
// all cores together, which the wall-clock time hides when cores are shared.
double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Discards the batch's output but counts it, so writing costs what formatting costs.
class CountingBuffer : public std::streambuf {
 public:
  std::size_t bytes = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    bytes += static_cast<std::size_t>(count);
    return count;
  }
  int_type overflow(int_type c) override {
    ++bytes;
    return traits_type::not_eof(c);
  }
};

void BM_DesignValues1M(benchmark::State& state) {
  std::vector<calc::DesignRequest> requests;
  requests.reserve(kRows);
  for (const TypedRow& row : Rows()) {
    calc::DesignRequest request;
    request.Fo = Parse(row.fo);
    request.Q = Parse(row.q);
    request.H = Parse(row.h);
    request.Zref = Parse(row.zref);
    request.SeriesR = calc::ParseSeriesSize(*cli::Utf8ToUtf16(row.series_r));
    request.SeriesC = calc::ParseSeriesSize(*cli::Utf8ToUtf16(row.series_c));
    if (row.lock == "1") request.LockedC2 = Parse(row.c2);
    requests.push_back(request);
  }
  for (auto _ : state) {
    for (const calc::DesignRequest& request : requests) {
      calc::DesignResult result = calc::Design(request);
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
}
BENCHMARK(BM_DesignValues1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_DesignBatchCsv1M(benchmark::State& state) {
  std::string csv = "fo,q,h,zref,series_r,series_c,lock,c2\n";
  for (const TypedRow& row : Rows()) {
    for (const std::string_view* cell :
         {&row.fo, &row.q, &row.h, &row.zref, &row.series_r, &row.series_c, &row.lock}) {
      csv.append(*cell).push_back(',');
    }
    csv.append(row.c2).push_back('\n');
  }
  std::size_t written = 0;
  const double cpu_before = ProcessCpuSeconds();
  for (auto _ : state) {
    std::istringstream in(csv);
    CountingBuffer sink;
    std::ostream out(&sink);
    std::ostringstream errors;
    const int exit_code = cli::RunBatch(cli::Command::kDesign, in, out, errors);
    benchmark::DoNotOptimize(exit_code);
    written = sink.bytes;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
  state.counters["output_MB"] = static_cast<double>(written) / 1e6;
  state.counters["cpu_s_all_threads"] =
      (ProcessCpuSeconds() - cpu_before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DesignBatchCsv1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

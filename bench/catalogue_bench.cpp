// Loading the op-amp catalogue as a front end does when it is first needed: finding the
// shipped file beside the executable (the build tree's), reading and checking every row,
// and a user's file that overrides and adds parts.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/catalogue_files.h"
#include "data/opamp_catalogue.h"

namespace {

void BM_LoadShippedCatalogue(benchmark::State& state) {
  const data::CataloguePlaces places{data::ShippedCataloguePlaces(data::ExecutableFolder()),
                                     std::nullopt};
  for (auto _ : state) {
    const data::OpAmpCatalogue catalogue = data::LoadOpAmpCatalogue(places);
    if (catalogue.parts.size() != 26) state.SkipWithError("the shipped catalogue did not load");
    benchmark::DoNotOptimize(catalogue.parts.data());
  }
}
BENCHMARK(BM_LoadShippedCatalogue)->Unit(benchmark::kMicrosecond);

void BM_LoadWithUserFile(benchmark::State& state) {
  // The shipped file again as the user's: every part overridden.
  const std::filesystem::path shipped = data::ExecutableFolder() / "opamps.csv";
  const std::filesystem::path user = std::filesystem::temp_directory_path() /
                                     ("korvane_bench_" + std::to_string(::getpid()) + ".csv");
  std::filesystem::copy_file(shipped, user, std::filesystem::copy_options::overwrite_existing);
  const data::CataloguePlaces places{{shipped}, user};
  for (auto _ : state) {
    benchmark::DoNotOptimize(data::LoadOpAmpCatalogue(places).parts.data());
  }
  std::filesystem::remove(user);
}
BENCHMARK(BM_LoadWithUserFile)->Unit(benchmark::kMicrosecond);

}  // namespace

// The two commands over an in-memory window with its event log off: what a click costs
// without the widgets.
#include <benchmark/benchmark.h>

#include "calc/circuit/band_pass.h"
#include "calc/commands/analysis_command.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/design_command.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using testing_support::MemoryForm;

// The start-up texts: the default design (no warning, all eight results written).
void BM_DesignCommand(benchmark::State& state) {
  MemoryForm form;
  form.set_recording(false);
  calc::CalcState calc_state;
  for (auto _ : state) {
    calc::ButtonCalcClick(form, calc_state);
    benchmark::DoNotOptimize(calc_state);
  }
}
BENCHMARK(BM_DesignCommand);

// The finest listed series for both kinds of component.
void BM_DesignCommandE192(benchmark::State& state) {
  MemoryForm form;
  form.Set(Field::ComboBoxER, u"192");
  form.Set(Field::ComboBoxEC, u"192");
  form.set_recording(false);
  calc::CalcState calc_state;
  for (auto _ : state) {
    calc::ButtonCalcClick(form, calc_state);
    benchmark::DoNotOptimize(calc_state);
  }
}
BENCHMARK(BM_DesignCommandE192);

// The texts the default design writes, analysed again.
void BM_AnalysisCommand(benchmark::State& state) {
  MemoryForm form;
  form.Set(Field::EditR1, u" 11.000k");
  form.Set(Field::EditR2, u" 11.000k");
  form.Set(Field::EditR3, u" 22.000k");
  form.Set(Field::EditC1, u" 15.000n");
  form.Set(Field::EditC2, u" 15.000n");
  form.set_recording(false);
  calc::CalcState calc_state;
  for (auto _ : state) {
    calc::ButtonTFClick(form, calc_state);
    benchmark::DoNotOptimize(calc_state);
  }
}
BENCHMARK(BM_AnalysisCommand);

// The value design alone: the request the start-up texts make, no texts in or out.
void BM_Design(benchmark::State& state) {
  const calc::DesignRequest request{1e3, 1.0, 1.0, 10e3, 24, 6};
  for (auto _ : state) benchmark::DoNotOptimize(calc::Design(request));
}
BENCHMARK(BM_Design);

void BM_DesignE192(benchmark::State& state) {
  const calc::DesignRequest request{1e3, 1.0, 1.0, 10e3, 192, 192};
  for (auto _ : state) benchmark::DoNotOptimize(calc::Design(request));
}
BENCHMARK(BM_DesignE192);

}  // namespace

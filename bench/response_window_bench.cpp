// Updating the open response window after a command: the model (three curves of 400
// points), the figures, the required GBW, and the plots and table redrawn. Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "calc/circuit/band_pass.h"
#include "ui/response/response_data.h"
#include "ui/response/response_window.h"

namespace {

// The start-up design: 1 kHz, Q 1, unity gain, E24/E6.
ui::ResponseSubject DefaultSubject() {
  const calc::Circuit circuit{11e3, 11e3, 22e3, 15e-9, 15e-9};
  return {circuit, calc::Analyze(circuit), calc::TransferFunction{1000.0, 1.0, 1.0}};
}

// The model and figures alone, as the window computes them.
void BM_ResponseData(benchmark::State& state) {
  const ui::ResponseSubject subject = DefaultSubject();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ui::ComputeResponseData(subject, ui::OpAmpSettings{}));
  }
}
BENCHMARK(BM_ResponseData)->Unit(benchmark::kMicrosecond);

// The whole update of a shown window, painted: what follows a click on a command button.
void BM_WindowUpdate(benchmark::State& state) {
  ui::ResponseWindow window;
  window.show();
  const ui::ResponseSubject subject = DefaultSubject();
  for (auto _ : state) {
    window.ShowSubject(subject);
    window.repaint();
  }
}
BENCHMARK(BM_WindowUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

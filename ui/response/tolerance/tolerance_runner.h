// Runs a tolerance analysis on a worker thread so that the window stays responsive, with
// progress and cancellation; the result comes back on the owner's thread as a signal.
#ifndef KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_RUNNER_H
#define KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_RUNNER_H

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "calc/studies/tolerance_analysis.h"

namespace ui {

class ToleranceRunner : public QObject {
  Q_OBJECT

 public:
  explicit ToleranceRunner(QObject* parent = nullptr);
  // Cancels a running analysis and waits for its thread: nothing outlives the runner.
  ~ToleranceRunner() override;

  // Starts an analysis, cancelling any running one first.
  void Start(const calc::Circuit& circuit, const calc::ToleranceSettings& settings,
             const std::optional<calc::OpAmp>& op_amp, std::vector<double> envelope_hz);
  // Stops a running analysis; its result, if it still comes, is dropped.
  void Cancel();
  bool running() const { return worker_.joinable(); }

 Q_SIGNALS:
  // Per cent of the work done, 0 ... 100.
  void Progress(int percent);
  void Finished(const calc::ToleranceAnalysis& analysis);
  // The run failed (a fault in the formulas); the text says why.
  void Failed(const QString& reason);
  // The run stopped on Cancel or at a later Start.
  void Cancelled();

 private:
  void Deliver(unsigned run, std::optional<calc::ToleranceAnalysis> analysis, QString error);

  std::shared_ptr<std::atomic<bool>> cancel_;
  std::thread worker_;
  unsigned run_ = 0;  // the run whose results are wanted; older ones are dropped
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_RUNNER_H

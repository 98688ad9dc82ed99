// Runs a tolerance analysis on Qt's thread pool so that the window stays responsive, with
// progress and cancellation; the result comes back on the owner's thread as a signal.
#ifndef KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_RUNNER_H
#define KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_RUNNER_H

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "calc/studies/tolerance_analysis.h"

namespace ui {

// What a run gives: the analysis (with monte_carlo_stopped when it was stopped), or the
// reason why there is none.
struct ToleranceRunOutcome {
  std::optional<calc::ToleranceAnalysis> analysis;
  QString error;
};

class ToleranceRunner : public QObject {
  Q_OBJECT

 public:
  explicit ToleranceRunner(QObject* parent = nullptr);
  // Cancels a running analysis and waits for it: nothing outlives the runner.
  ~ToleranceRunner() override;

  // Starts an analysis, cancelling any running one first.
  void Start(const calc::Circuit& circuit, const calc::ToleranceSettings& settings,
             const std::optional<calc::OpAmp>& op_amp, std::vector<double> envelope_hz);
  // Stops a running analysis, waits for it and says so with Cancelled, with what was done;
  // nothing more comes from it.
  void Cancel();
  bool running() const { return watcher_ != nullptr; }

 Q_SIGNALS:
  // Per cent of the work done, 0 ... 100.
  void Progress(int percent);
  void Finished(const calc::ToleranceAnalysis& analysis);
  // The run failed (a fault in the formulas); the text says why.
  void Failed(const QString& reason);
  // The run stopped on Cancel or at a later Start: `partial` holds the sensitivities and
  // the worst case (monte_carlo_stopped), or nothing when the run had not got so far.
  void Cancelled(const std::optional<calc::ToleranceAnalysis>& partial);

 private:
  void Deliver();
  // Stops listening to the run's watcher: its signals still queued go nowhere.
  void Release();

  // The running analysis' watcher, one for each run; none between runs.
  QFutureWatcher<ToleranceRunOutcome>* watcher_ = nullptr;
  // Asks the running analysis to stop and keep what it has: a cancelled future would drop
  // its result.
  std::shared_ptr<std::atomic<bool>> stop_;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_RUNNER_H

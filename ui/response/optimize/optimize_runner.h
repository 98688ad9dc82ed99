// Runs the joint search of preferred values on Qt's thread pool so that the window stays
// responsive, with progress and cancellation; the result comes back on the owner's thread
// as a signal.
#ifndef KORVANE_UI_RESPONSE_OPTIMIZE_OPTIMIZE_RUNNER_H
#define KORVANE_UI_RESPONSE_OPTIMIZE_OPTIMIZE_RUNNER_H

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <optional>

#include "calc/studies/preferred_value_search.h"

namespace ui {

// What a run gives: the search, or the reason why there is none (empty when cancelled).
struct SearchRunOutcome {
  std::optional<calc::PreferredValueSearch> search;
  QString error;
};

class OptimizeRunner : public QObject {
  Q_OBJECT

 public:
  explicit OptimizeRunner(QObject* parent = nullptr);
  // Cancels a running search and waits for it: nothing outlives the runner.
  ~OptimizeRunner() override;

  // Starts a search, cancelling any running one first.
  void Start(const calc::PreferredValueSearchSettings& settings);
  // Stops a running search and says so with Cancelled; nothing more comes from it.
  void Cancel();
  bool running() const { return watcher_ != nullptr; }

 Q_SIGNALS:
  void Progress(int percent);  // 0 ... 100
  void Finished(const calc::PreferredValueSearch& search);
  void Failed(const QString& reason);
  void Cancelled();

 private:
  void Deliver();
  void Release();

  QFutureWatcher<SearchRunOutcome>* watcher_ = nullptr;  // one per run; none between runs
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_OPTIMIZE_OPTIMIZE_RUNNER_H

#include "ui/response/tolerance/tolerance_runner.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <utility>

#include "calc/numeric/float_ops.h"
#include "ui/boxes/error_box.h"

namespace ui {
namespace {

// Everything a run needs, copied to the worker thread.
struct ToleranceJob {
  calc::Circuit circuit;
  calc::ToleranceSettings settings;
  std::optional<calc::OpAmp> op_amp;
  std::vector<double> envelope_hz;
  std::shared_ptr<std::atomic<bool>> stop;
};

// The analysis itself, on a worker thread: its diagnostic or a fault in the formulas
// becomes the reason; a cancelled run has none.
ToleranceRunOutcome Analyse(const ToleranceJob& job, const calc::ProgressCallback& progress) {
  try {
    calc::Outcome<calc::ToleranceAnalysis> outcome = calc::RunToleranceAnalysis(
        job.circuit, job.settings, job.op_amp, job.envelope_hz, progress);
    if (outcome) return {*std::move(outcome), {}};
    return {std::nullopt, QString::fromStdU16String(calc::WindowText(outcome.diagnostic()))};
  } catch (const calc::FloatError& fault) {
    return {std::nullopt, QString::fromStdString(ErrorMessage(fault))};
  } catch (const std::exception& fault) {
    return {std::nullopt, QString::fromLocal8Bit(fault.what())};
  }
}

// A run on the thread pool: progress in per cent through the promise, which the run asks
// every few hundred trials whether it has been cancelled (the runner's destructor: the
// outcome is dropped) or stopped (Cancel: the outcome keeps what was done).
void RunJob(QPromise<ToleranceRunOutcome>& promise, const ToleranceJob& job) {
  constexpr int kPercent = 100;
  promise.setProgressRange(0, kPercent);
  const calc::ProgressCallback progress = [&promise, &job](std::int64_t done, std::int64_t total) {
    promise.setProgressValue(total > 0 ? static_cast<int>(done * kPercent / total) : kPercent);
    return !promise.isCanceled() && !job.stop->load();
  };
  promise.addResult(Analyse(job, progress));
}

}  // namespace

ToleranceRunner::ToleranceRunner(QObject* parent) : QObject(parent) {}

ToleranceRunner::~ToleranceRunner() {
  if (watcher_ == nullptr) return;
  watcher_->cancel();
  watcher_->waitForFinished();
}

void ToleranceRunner::Start(const calc::Circuit& circuit, const calc::ToleranceSettings& settings,
                            const std::optional<calc::OpAmp>& op_amp,
                            std::vector<double> envelope_hz) {
  Cancel();
  stop_ = std::make_shared<std::atomic<bool>>(false);
  watcher_ = new QFutureWatcher<ToleranceRunOutcome>(this);
  connect(watcher_, &QFutureWatcherBase::progressValueChanged, this, &ToleranceRunner::Progress);
  connect(watcher_, &QFutureWatcherBase::finished, this, &ToleranceRunner::Deliver);
  watcher_->setFuture(QtConcurrent::run(
      &RunJob, ToleranceJob{circuit, settings, op_amp, std::move(envelope_hz), stop_}));
}

void ToleranceRunner::Cancel() {
  if (watcher_ == nullptr) return;
  stop_->store(true);
  // The run asks every few hundred trials, so the wait is short.
  watcher_->waitForFinished();
  QFuture<ToleranceRunOutcome> future = watcher_->future();
  std::optional<calc::ToleranceAnalysis> partial;
  if (future.resultCount() > 0) partial = future.takeResult().analysis;
  Release();
  Q_EMIT Cancelled(partial);
}

void ToleranceRunner::Release() {
  watcher_->disconnect(this);
  watcher_->deleteLater();
  watcher_ = nullptr;
}

void ToleranceRunner::Deliver() {
  QFuture<ToleranceRunOutcome> future = watcher_->future();
  ToleranceRunOutcome outcome;
  if (future.resultCount() > 0) outcome = future.takeResult();  // moved: a million trials
  Release();
  if (outcome.analysis) {
    Q_EMIT Finished(*outcome.analysis);
  } else if (!outcome.error.isEmpty()) {
    Q_EMIT Failed(outcome.error);
  } else {
    Q_EMIT Cancelled(std::nullopt);
  }
}

}  // namespace ui

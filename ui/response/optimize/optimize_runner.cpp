#include "ui/response/optimize/optimize_runner.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <utility>

#include "calc/text/diagnostic.h"

namespace ui {
namespace {

// The search on a worker thread, progress in per cent through the promise, which the
// search asks every few hundred sets whether it has been cancelled. The search reports its
// own faults as diagnostics; anything else thrown is reported rather than lost.
void RunSearch(QPromise<SearchRunOutcome>& promise,
               const calc::PreferredValueSearchSettings& settings) {
  constexpr int kPercent = 100;
  promise.setProgressRange(0, kPercent);
  const calc::ProgressCallback progress = [&promise](std::int64_t done, std::int64_t total) {
    promise.setProgressValue(total > 0 ? static_cast<int>(done * kPercent / total) : kPercent);
    return !promise.isCanceled();
  };
  SearchRunOutcome outcome;
  try {
    calc::Outcome<calc::PreferredValueSearch> search =
        calc::SearchPreferredValues(settings, progress);
    if (search) {
      outcome.search = *std::move(search);
    } else if (search.diagnostic().problem != calc::Problem::kCancelled) {
      outcome.error = QString::fromStdU16String(calc::WindowText(search.diagnostic()));
    }
  } catch (const std::exception& fault) {
    outcome.error = QString::fromLocal8Bit(fault.what());
  }
  promise.addResult(std::move(outcome));
}

}  // namespace

OptimizeRunner::OptimizeRunner(QObject* parent) : QObject(parent) {}

OptimizeRunner::~OptimizeRunner() {
  if (watcher_ == nullptr) return;
  watcher_->cancel();
  watcher_->waitForFinished();
}

void OptimizeRunner::Start(const calc::PreferredValueSearchSettings& settings) {
  Cancel();
  watcher_ = new QFutureWatcher<SearchRunOutcome>(this);
  connect(watcher_, &QFutureWatcherBase::progressValueChanged, this, &OptimizeRunner::Progress);
  connect(watcher_, &QFutureWatcherBase::finished, this, &OptimizeRunner::Deliver);
  watcher_->setFuture(QtConcurrent::run(&RunSearch, settings));
}

void OptimizeRunner::Cancel() {
  if (watcher_ == nullptr) return;
  watcher_->cancel();
  watcher_->waitForFinished();  // the search asks often, so the wait is short
  Release();
  Q_EMIT Cancelled();
}

void OptimizeRunner::Release() {
  watcher_->disconnect(this);
  watcher_->deleteLater();
  watcher_ = nullptr;
}

void OptimizeRunner::Deliver() {
  QFuture<SearchRunOutcome> future = watcher_->future();
  SearchRunOutcome outcome;
  if (future.resultCount() > 0) outcome = future.takeResult();
  Release();
  if (outcome.search) {
    Q_EMIT Finished(*outcome.search);
  } else if (!outcome.error.isEmpty()) {
    Q_EMIT Failed(outcome.error);
  } else {
    Q_EMIT Cancelled();
  }
}

}  // namespace ui

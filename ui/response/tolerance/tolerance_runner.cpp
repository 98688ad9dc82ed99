#include "ui/response/tolerance/tolerance_runner.h"

#include <QMetaObject>
#include <exception>

#include "calc/numeric/float_ops.h"
#include "ui/boxes/error_box.h"

namespace ui {

ToleranceRunner::ToleranceRunner(QObject* parent) : QObject(parent) {}

ToleranceRunner::~ToleranceRunner() {
  if (cancel_) cancel_->store(true);
  if (worker_.joinable()) worker_.join();
}

void ToleranceRunner::Cancel() {
  if (!worker_.joinable()) return;
  cancel_->store(true);
  // The run checks the flag every few hundred trials, so the wait is short.
  worker_.join();
  ++run_;
  Q_EMIT Cancelled();
}

void ToleranceRunner::Start(const calc::Circuit& circuit, const calc::ToleranceSettings& settings,
                            const std::optional<calc::OpAmp>& op_amp,
                            std::vector<double> envelope_hz) {
  Cancel();
  // The worker holds its own flag, so that a later run's flag is never the one it reads.
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  const unsigned run = ++run_;
  ToleranceRunner* const self = this;
  worker_ = std::thread([self, run, cancel = cancel_, circuit, settings, op_amp,
                         envelope_hz = std::move(envelope_hz)] {
    int last_percent = -1;
    const calc::ProgressCallback progress = [&](std::int64_t done, std::int64_t total) {
      const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
      if (percent != last_percent) {
        last_percent = percent;
        // Queued to the runner's (the window's) thread. The destructor joins this thread, so
        // the runner outlives the posting, and Qt drops the events of a deleted receiver.
        QMetaObject::invokeMethod(
            self,
            [self, run, percent] {
              if (self->run_ == run) Q_EMIT self->Progress(percent);
            },
            Qt::QueuedConnection);
      }
      return !cancel->load();
    };
    std::optional<calc::ToleranceAnalysis> analysis;
    QString error;
    try {
      calc::Outcome<calc::ToleranceAnalysis> outcome =
          calc::RunToleranceAnalysis(circuit, settings, op_amp, envelope_hz, progress);
      if (outcome) {
        analysis = *std::move(outcome);
      } else if (outcome.diagnostic().problem != calc::Problem::kCancelled) {
        error = QString::fromStdU16String(calc::WindowText(outcome.diagnostic()));
      }
    } catch (const calc::FloatError& fault) {
      error = QString::fromStdString(ErrorMessage(fault));
    } catch (const std::exception& fault) {
      error = QString::fromLocal8Bit(fault.what());
    }
    QMetaObject::invokeMethod(
        self,
        [self, run, analysis = std::move(analysis), error]() mutable {
          self->Deliver(run, std::move(analysis), error);
        },
        Qt::QueuedConnection);
  });
}

void ToleranceRunner::Deliver(unsigned run, std::optional<calc::ToleranceAnalysis> analysis,
                              QString error) {
  if (run != run_) return;  // a cancelled run's last word
  if (worker_.joinable()) worker_.join();
  if (analysis) {
    Q_EMIT Finished(*analysis);
  } else if (!error.isEmpty()) {
    Q_EMIT Failed(error);
  } else {
    Q_EMIT Cancelled();
  }
}

}  // namespace ui

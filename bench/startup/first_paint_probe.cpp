#include "bench/startup/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace bench {
namespace {

class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // Queued, so it runs once this paint has been drawn and flushed to the screen.
      QMetaObject::invokeMethod(this, &FirstPaintProbe::Report, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Report() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    // The processor time of all the program's threads so far, to the microsecond: the
    // time(1) figures count it in 10 ms steps, too coarse for a 30 ms start.
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const long long cpu_micros = static_cast<long long>(cpu.tv_sec) * 1000000 + cpu.tv_nsec / 1000;
    std::printf("first-paint %lld cpu %lld\n", micros, cpu_micros);
    std::fflush(stdout);
    QCoreApplication::quit();
  }

  bool seen_ = false;
};

}  // namespace

void InstallFirstPaintProbe(QWidget& window) {
  if (qEnvironmentVariableIsSet("KORVANE_EXIT_AFTER_FIRST_PAINT")) new FirstPaintProbe(window);
}

}  // namespace bench

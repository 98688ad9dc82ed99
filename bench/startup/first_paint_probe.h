// A measuring aid for the start-up benchmark: when KORVANE_EXIT_AFTER_FIRST_PAINT is set,
// the program prints the wall-clock time of its window's first paint and the processor
// time it has used until then, and quits.
#ifndef KORVANE_BENCH_STARTUP_FIRST_PAINT_PROBE_H
#define KORVANE_BENCH_STARTUP_FIRST_PAINT_PROBE_H

class QWidget;

namespace bench {

// Does nothing unless KORVANE_EXIT_AFTER_FIRST_PAINT is set. Then, once `window` has
// painted for the first time, writes "first-paint <microseconds since the Unix epoch>
// cpu <microseconds of processor time>" to standard output and quits the event loop.
void InstallFirstPaintProbe(QWidget& window);

}  // namespace bench

#endif  // KORVANE_BENCH_STARTUP_FIRST_PAINT_PROBE_H

// Work split over a few threads for the long analyses (Monte Carlo runs) and the command
// line's batches, with progress and cancellation so that a window can run them off its
// own thread.
#ifndef KORVANE_CALC_NUMERIC_PARALLEL_FOR_H
#define KORVANE_CALC_NUMERIC_PARALLEL_FOR_H

#include <cstdint>
#include <functional>

namespace calc {

// Tells how far a run has come, in work items done out of the total; returns false to
// cancel the run. Called on the thread that started the run, never concurrently, every few
// hundred items or so, and once more at the end.
using ProgressCallback = std::function<bool(std::int64_t done, std::int64_t total)>;

// The work on one chunk of items, [begin, end).
using ChunkBody = std::function<void(std::int64_t begin, std::int64_t end)>;

// The number of threads a run uses when it is given 0: the machine's hardware threads.
int DefaultThreadCount();

// Calls body(begin, end) over consecutive chunks of [0, count), each at most `chunk` items,
// on `threads` threads (the calling thread among them; 0 means DefaultThreadCount()). Which
// thread runs which chunk is left open, so `body` must make each item's result depend on
// the item alone. After each chunk it ran itself, the calling thread reports the items done
// so far to `progress` as (done * item_weight, count * item_weight). If `progress` returns false,
// no further chunk starts, the running ones finish and ParallelFor returns false; otherwise it
// returns true when every chunk has run. The first exception thrown by `body` is rethrown after all
// threads have stopped.
bool ParallelFor(std::int64_t count, std::int64_t chunk, int threads, const ChunkBody& body,
                 const ProgressCallback& progress = {}, std::int64_t item_weight = 1);

// ParallelFor without progress whose calling thread first does other work: the other
// threads start on the chunks while the calling thread runs `alongside` (reading the next
// input, writing the last output), then it joins them on the chunks left. So a stream can
// be read and written while its last part is worked on, on no more than `threads` threads.
// With one thread, `alongside` runs first and then every chunk. Returns when both are done;
// an exception from `alongside` stops the chunks and is rethrown once they have stopped,
// else the first one from `body` is.
void ParallelForAlongside(std::int64_t count, std::int64_t chunk, int threads,
                          const ChunkBody& body, const std::function<void()>& alongside);

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_PARALLEL_FOR_H

#include "calc/numeric/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace calc {
namespace {

// The chunks of one run, handed out one at a time to whichever thread asks next.
class Chunks {
 public:
  Chunks(std::int64_t count, std::int64_t chunk, const ChunkBody& body)
      : count_(count), chunk_(std::max<std::int64_t>(chunk, 1)), body_(body) {}

  std::int64_t count() const { return (count_ - 1) / chunk_ + 1; }
  std::int64_t items_done() const { return items_done_.load(); }

  // Runs the next chunk; false when there is none left or the run stops.
  bool RunNext() {
    if (stop_.load(std::memory_order_relaxed)) return false;
    const std::int64_t index = next_.fetch_add(1, std::memory_order_relaxed);
    if (index >= count()) return false;
    const std::int64_t begin = index * chunk_;
    const std::int64_t end = std::min(count_, begin + chunk_);
    try {
      body_(begin, end);
    } catch (...) {
      const std::lock_guard lock(failure_mutex_);
      if (!failure_) failure_ = std::current_exception();
      Stop();
      return false;
    }
    items_done_.fetch_add(end - begin, std::memory_order_relaxed);
    return true;
  }
  void RunAll() {
    while (RunNext()) {
    }
  }
  // No chunk starts after this; the running ones finish.
  void Stop() { stop_.store(true); }
  // Once every thread has stopped: the first exception of `body`, if any.
  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  const std::int64_t count_;
  const std::int64_t chunk_;
  const ChunkBody& body_;
  std::atomic<std::int64_t> next_{0};
  std::atomic<std::int64_t> items_done_{0};
  std::atomic<bool> stop_{false};
  std::mutex failure_mutex_;
  std::exception_ptr failure_;
};

// `count` threads working on the chunks until none is left; they are joined when the
// returned threads go out of scope, so `chunks` must outlive them.
std::vector<std::jthread> StartHelpers(Chunks& chunks, std::int64_t count) {
  std::vector<std::jthread> helpers;
  helpers.reserve(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
  for (std::int64_t i = 0; i < count; ++i) helpers.emplace_back([&chunks] { chunks.RunAll(); });
  return helpers;
}

int ThreadCount(int threads) { return threads <= 0 ? DefaultThreadCount() : threads; }

}  // namespace

int DefaultThreadCount() {
  const unsigned hardware = std::thread::hardware_concurrency();
  return hardware == 0 ? 1 : static_cast<int>(std::min(hardware, 64u));
}

bool ParallelFor(std::int64_t count, std::int64_t chunk, int threads, const ChunkBody& body,
                 const ProgressCallback& progress, std::int64_t item_weight) {
  if (count <= 0) return true;
  const std::int64_t total = count * item_weight;
  Chunks chunks(count, chunk, body);
  bool cancelled = false;
  {
    std::vector<std::jthread> helpers =
        StartHelpers(chunks, std::min<std::int64_t>(ThreadCount(threads), chunks.count()) - 1);
    while (chunks.RunNext()) {
      if (progress && !progress(chunks.items_done() * item_weight, total)) {
        cancelled = true;
        chunks.Stop();
      }
    }
  }
  chunks.RethrowFailure();
  if (!cancelled && progress && !progress(total, total)) cancelled = true;
  return !cancelled;
}

void ParallelForAlongside(std::int64_t count, std::int64_t chunk, int threads,
                          const ChunkBody& body, const std::function<void()>& alongside) {
  if (count <= 0) {
    alongside();
    return;
  }
  Chunks chunks(count, chunk, body);
  {
    // The calling thread is busy at first, so every other thread may start on a chunk.
    std::vector<std::jthread> helpers =
        StartHelpers(chunks, std::min<std::int64_t>(ThreadCount(threads) - 1, chunks.count()));
    try {
      alongside();
    } catch (...) {
      chunks.Stop();
      throw;  // the helpers are joined on the way out
    }
    chunks.RunAll();
  }
  chunks.RethrowFailure();
}

}  // namespace calc

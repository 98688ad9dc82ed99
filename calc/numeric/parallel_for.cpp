#include "calc/numeric/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace calc {

int DefaultThreadCount() {
  const unsigned hardware = std::thread::hardware_concurrency();
  return hardware == 0 ? 1 : static_cast<int>(std::min(hardware, 64u));
}

bool ParallelFor(std::int64_t count, std::int64_t chunk, int threads,
                 const std::function<void(std::int64_t, std::int64_t)>& body,
                 const ProgressCallback& progress, std::int64_t item_weight) {
  if (count <= 0) return true;
  chunk = std::max<std::int64_t>(chunk, 1);
  const std::int64_t total = count * item_weight;
  const std::int64_t chunks = (count - 1) / chunk + 1;
  if (threads <= 0) threads = DefaultThreadCount();
  threads = static_cast<int>(std::min<std::int64_t>(threads, chunks));

  std::atomic<std::int64_t> next_chunk{0};
  std::atomic<std::int64_t> items_done{0};
  std::atomic<bool> stop{false};
  std::exception_ptr failure;
  std::mutex failure_mutex;

  // Runs one chunk; false when there is none left or the run stops.
  auto run_chunk = [&]() {
    if (stop.load(std::memory_order_relaxed)) return false;
    const std::int64_t index = next_chunk.fetch_add(1, std::memory_order_relaxed);
    if (index >= chunks) return false;
    const std::int64_t begin = index * chunk;
    const std::int64_t end = std::min(count, begin + chunk);
    try {
      body(begin, end);
    } catch (...) {
      const std::lock_guard lock(failure_mutex);
      if (!failure) failure = std::current_exception();
      stop.store(true, std::memory_order_relaxed);
      return false;
    }
    items_done.fetch_add(end - begin, std::memory_order_relaxed);
    return true;
  };

  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<std::size_t>(threads - 1));
  for (int i = 1; i < threads; ++i) {
    helpers.emplace_back([&] {
      while (run_chunk()) {
      }
    });
  }
  bool cancelled = false;
  while (run_chunk()) {
    if (progress && !progress(items_done.load() * item_weight, total)) {
      cancelled = true;
      stop.store(true);
    }
  }
  for (std::thread& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
  if (!cancelled && progress && !progress(total, total)) {
    cancelled = true;
  }
  return !cancelled;
}

}  // namespace calc

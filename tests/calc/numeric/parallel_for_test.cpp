// Work over threads with other work on the calling thread alongside: the command line's
// batch reads and writes its CSV there while the rows are worked on.
#include "calc/numeric/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Waits until `done` holds, at most ten seconds, so that a fault fails the test instead
// of hanging it.
template <typename Condition>
bool WaitFor(Condition done) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

// The other threads work while the calling thread is still busy alongside: the chunks
// are done before `alongside` returns, so the two really overlap. Every item is done
// once, and `alongside` runs once, on the calling thread.
TEST(ParallelForAlongside, OtherThreadsWorkWhileTheCallerIsBusy) {
  for (const int threads : {2, 3}) {
    SCOPED_TRACE(threads);
    std::vector<std::atomic<int>> hits(1000);
    std::atomic<std::int64_t> items_done{0};
    int alongside_runs = 0;
    bool overlapped = false;
    const std::thread::id caller = std::this_thread::get_id();
    calc::ParallelForAlongside(
        1000, 10, threads,
        [&](std::int64_t begin, std::int64_t end) {
          for (std::int64_t i = begin; i < end; ++i) ++hits[static_cast<std::size_t>(i)];
          items_done += end - begin;
        },
        [&] {
          ++alongside_runs;
          EXPECT_EQ(std::this_thread::get_id(), caller);
          overlapped = WaitFor([&] { return items_done.load() == 1000; });
        });
    EXPECT_TRUE(overlapped);
    EXPECT_EQ(alongside_runs, 1);
    for (const std::atomic<int>& hit : hits) ASSERT_EQ(hit.load(), 1);
  }
}

// On one thread (or without items) `alongside` comes first and the chunks follow in order.
TEST(ParallelForAlongside, OneThreadRunsAlongsideFirstThenEveryChunk) {
  std::vector<std::int64_t> order;  // -1 for alongside, else the chunk's first item
  calc::ParallelForAlongside(
      25, 10, 1, [&](std::int64_t begin, std::int64_t) { order.push_back(begin); },
      [&] { order.push_back(-1); });
  EXPECT_EQ(order, (std::vector<std::int64_t>{-1, 0, 10, 20}));

  int alongside_runs = 0;
  calc::ParallelForAlongside(
      0, 10, 2, [](std::int64_t, std::int64_t) { FAIL(); }, [&] { ++alongside_runs; });
  EXPECT_EQ(alongside_runs, 1);
}

// A failure on either side reaches the caller once every thread has stopped: one in
// `alongside` stops the chunks, one in the body waits for `alongside` to finish, so
// nothing it was writing is cut off.
TEST(ParallelForAlongside, FailuresReachTheCallerAfterTheThreadsStop) {
  constexpr std::int64_t kChunks = 1000000;
  std::atomic<std::int64_t> chunks_run{0};
  EXPECT_THROW(calc::ParallelForAlongside(
                   kChunks, 1, 2,
                   [&](std::int64_t, std::int64_t) {
                     ++chunks_run;
                     std::this_thread::sleep_for(std::chrono::microseconds(10));
                   },
                   [&] {
                     EXPECT_TRUE(WaitFor([&] { return chunks_run.load() > 0; }));
                     throw std::runtime_error("alongside");
                   }),
               std::runtime_error);
  const std::int64_t stopped_at = chunks_run.load();
  EXPECT_LT(stopped_at, kChunks);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(chunks_run.load(), stopped_at);  // no thread left working

  bool alongside_finished = false;
  EXPECT_THROW(calc::ParallelForAlongside(
                   100, 1, 2,
                   [](std::int64_t begin, std::int64_t) {
                     if (begin == 0) throw std::logic_error("body");
                   },
                   [&] {
                     std::this_thread::sleep_for(std::chrono::milliseconds(20));
                     alongside_finished = true;
                   }),
               std::logic_error);
  EXPECT_TRUE(alongside_finished);
}

}  // namespace

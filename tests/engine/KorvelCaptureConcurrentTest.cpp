// Streams a counter through the capture path on one thread while the display drains it on
// another: every history must hold counter values in order, exact, and only newer ones over time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "KorvelHarness.h"

namespace {

constexpr int kBlock = 256;
constexpr long kModulus = 1L << 24;  // counter values 1 … 2^24 − 1 stay exact in single precision

long Step(long from, long to) { return ((to - from) % (kModulus - 1) + (kModulus - 1)) % (kModulus - 1); }

struct HistoryCheck {
  long newest = 0;
  long gaps = 0;

  // Zeros (nothing captured yet), then whole numbers that run forward, wrapping at 2^24.
  void Check(const float* history) {
    long previous = 0;
    for (int i = 0; i < Korvel::kHistorySamples; ++i) {
      const auto v = static_cast<long>(history[i]);
      ASSERT_EQ(static_cast<float>(v), history[i]) << "torn sample at " << i;
      ASSERT_GE(v, 0);
      ASSERT_LT(v, kModulus);
      if (v == 0) {
        ASSERT_EQ(previous, 0) << "zero after data at " << i;
        continue;
      }
      if (previous) {
        const long step = Step(previous, v);
        ASSERT_TRUE(step >= 1 && step < kModulus / 2) << "out of order at " << i << ": " << previous << " then " << v;
        if (step != 1) ++gaps;
      }
      previous = v;
    }
    if (newest) {
      ASSERT_LT(Step(newest, previous), kModulus / 2) << "history went back in time";
    }
    newest = previous;
  }
};

}  // namespace

TEST(KorvelCaptureConcurrent, DrainedHistoryIsContiguousWhileTheAudioThreadWrites) {
  KorvelHarness h;
  h.Connect(2, 2, kBlock);
  std::atomic<bool> done{false};
  std::atomic<long> blocks{0};
  std::atomic<int> drains{0};
  // The blocks written when the display last began to drain. The writer stays within an eighth
  // of the counter's cycle of it, so two drains never lie half a cycle apart: a history would
  // then seem to go back in time (a display thread may not be scheduled for a long while).
  std::atomic<long> drainedAt{0};
  constexpr long kMostAhead = kModulus / 8 / kBlock;

  std::thread audio([&] {
    std::vector<double> left(kBlock), right(kBlock), outL(kBlock), outR(kBlock);
    double* in[2] = {left.data(), right.data()};
    double* out[2] = {outL.data(), outR.data()};
    // Three seconds, and on a loaded machine longer, until the display has drained often
    // enough to have raced with the writes.
    const auto start = std::chrono::steady_clock::now();
    const auto running = [&] {
      const auto elapsed = std::chrono::steady_clock::now() - start;
      return elapsed < std::chrono::seconds(3) ||
             (elapsed < std::chrono::seconds(60) && (drains.load() <= 10 || blocks.load() <= 1000));
    };
    long value = 0;
    while (running()) {
      if (blocks.load() - drainedAt.load() > kMostAhead) {
        std::this_thread::yield();
        continue;
      }
      for (int i = 0; i < kBlock; ++i) {
        value = value % (kModulus - 1) + 1;
        left[i] = right[i] = static_cast<double>(value);
      }
      h.korvel->BindHostBuffers(framework::Input, 0, 2, in, kBlock);
      h.korvel->BindHostBuffers(framework::Output, 0, 2, out, kBlock);
      h.korvel->RunBlock(kBlock);
      blocks.fetch_add(1, std::memory_order_relaxed);
    }
    done = true;
  });

  HistoryCheck checks[2];
  while (!done.load() && !HasFatalFailure()) {
    drainedAt.store(blocks.load());
    const int fresh = h.korvel->DrainSamples();
    ASSERT_GE(fresh, 0);
    ASSERT_LE(fresh, Korvel::kHistorySamples);
    for (int c = 0; c < 2 && !HasFatalFailure(); ++c) checks[c].Check(h.korvel->Channel(c)->History());
    ++drains;
  }
  audio.join();
  ASSERT_FALSE(HasFatalFailure());
  h.korvel->DrainSamples();
  for (int c = 0; c < 2; ++c) checks[c].Check(h.korvel->Channel(c)->History());
  EXPECT_GT(drains, 10);
  EXPECT_GT(blocks.load(), 1000);
}

// The ring alone with a third thread clearing it, as a reset may while the display drains.
TEST(KorvelCaptureConcurrent, RingStaysInRangeWhileAResetClearsIt) {
  KorvelSampleRing ring;
  ring.SetCapacity(4096);
  std::atomic<bool> done{false};
  std::mutex processing;  // bindings never reset while a block runs

  // The producer goes on until the consumer has read something: on a loaded machine the
  // consumer's thread may not run at all within the first 20 million samples.
  std::atomic<bool> consumed{false};
  std::thread producer([&] {
    for (int32_t next = 1; next < 20'000'000 || !consumed.load();) {
      std::lock_guard<std::mutex> block(processing);
      int32_t samples[64];
      for (auto& v : samples) v = next++;
      if (ring.Available() + 256 > 4096) ring.DropOldest(ring.Available() + 256 - 4096);
      ring.Write(samples, sizeof samples);
    }
    done = true;
  });
  std::thread resetter([&] {
    for (int i = 0; i < 2000 && !done.load(); ++i) {
      {
        std::lock_guard<std::mutex> stopped(processing);
        ring.Clear();
      }
      std::this_thread::yield();
    }
  });

  int32_t last = 0;
  while (!done.load()) {
    int32_t out[512];
    const int got = ring.Read(out, sizeof out);
    ASSERT_GE(got, 0);
    ASSERT_LE(got, static_cast<int>(sizeof out));
    ASSERT_EQ(got % 4, 0);
    for (int j = 0; j < got / 4; ++j) {
      ASSERT_GT(out[j], 0);
      if (j) {
        ASSERT_GT(out[j], out[j - 1]);
      }
      last = out[j];
    }
    if (got > 0) consumed = true;
    const int available = ring.Available();
    ASSERT_GE(available, 0);
    ASSERT_LE(available, 4096);
  }
  producer.join();
  resetter.join();
  EXPECT_GT(last, 0);
}

// Three producers push tagged counters while one consumer pops: each producer's entries
// arrive once, in its order, and every accepted push arrives.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/MpscQueue.h"

namespace {
struct Tagged {
  int32_t producer;
  int32_t count;
};
}  // namespace

TEST(MpscQueueConcurrent, EveryAcceptedEntryArrivesOnceAndInProducerOrder) {
  constexpr int kProducers = 3, kPerProducer = 200000;
  framework::MpscQueue<Tagged, 512> q;
  std::atomic<int> finished{0};
  std::vector<long> accepted(kProducers, 0);
  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; ++p)
    producers.emplace_back([&, p] {
      for (int i = 0; i < kPerProducer; ++i)
        if (q.Push({p, i})) ++accepted[p];
      finished.fetch_add(1);
    });

  std::vector<int> last(kProducers, -1);
  std::vector<long> received(kProducers, 0);
  Tagged t{};
  for (;;) {
    const bool done = finished.load() == kProducers;
    while (q.Pop(t)) {
      ASSERT_GE(t.producer, 0);
      ASSERT_LT(t.producer, kProducers);
      ASSERT_GT(t.count, last[t.producer]) << "producer " << t.producer << " out of order";
      last[t.producer] = t.count;
      ++received[t.producer];
    }
    if (done) break;
  }
  for (auto& th : producers) th.join();
  for (int p = 0; p < kProducers; ++p) EXPECT_EQ(received[p], accepted[p]) << p;
}

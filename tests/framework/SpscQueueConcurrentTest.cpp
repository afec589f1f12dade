#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "framework/SpscQueue.h"

using namespace framework;

namespace {

struct ParamEntry {
  int32_t index;
  double value;
};

}  // namespace

// One producer, one consumer, a queue as large as the editor-bound parameter queue. Most
// entries are retried until the queue takes them, so that the two sides really run against
// each other; every fourth may be dropped when the queue is full. The consumer must see the
// accepted entries whole, in order, each once, and nothing else.
TEST(SpscQueueConcurrent, ConsumerSeesEveryAcceptedEntryInOrder) {
  constexpr int kCount = 2'000'000;
  SpscQueue<ParamEntry, 513> queue;
  std::vector<uint8_t> dropped(kCount, 0);   // written by the producer only
  std::vector<uint8_t> received(kCount, 0);  // written by the consumer only
  std::atomic<bool> producerDone{false};
  int droppedCount = 0;
  int receivedCount = 0;
  int orderFaults = 0;
  int tornEntries = 0;

  std::thread producer([&] {
    for (int i = 0; i < kCount; ++i) {
      const ParamEntry entry{i, i * 0.5};
      if (i % 4 == 0) {
        if (!queue.Push(entry)) {
          dropped[i] = 1;
          ++droppedCount;
        }
      } else {
        while (!queue.Push(entry)) std::this_thread::yield();
      }
    }
    producerDone.store(true, std::memory_order_release);
  });
  std::thread consumer([&] {
    int last = -1;
    auto take = [&](const ParamEntry& entry) {
      if (entry.index <= last || entry.index >= kCount) {
        ++orderFaults;
        return;
      }
      if (entry.value != entry.index * 0.5) ++tornEntries;
      last = entry.index;
      received[entry.index] = 1;
      ++receivedCount;
    };
    ParamEntry entry{};
    for (;;) {
      if (queue.Pop(entry)) {
        take(entry);
      } else if (producerDone.load(std::memory_order_acquire)) {
        while (queue.Pop(entry)) take(entry);
        break;
      } else {
        std::this_thread::yield();
      }
    }
  });
  producer.join();
  consumer.join();

  EXPECT_EQ(orderFaults, 0);
  EXPECT_EQ(tornEntries, 0);
  EXPECT_EQ(receivedCount, kCount - droppedCount);
  int mismatches = 0;
  for (int i = 0; i < kCount; ++i)
    if (received[i] == dropped[i]) ++mismatches;  // each value is either received or dropped
  EXPECT_EQ(mismatches, 0);
}

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

// One producer, one consumer, a small queue so that both the full and the empty case occur
// often. The consumer must see the producer's accepted entries whole, in order, each once.
TEST(SpscQueueConcurrent, ConsumerSeesEveryAcceptedEntryInOrder) {
  constexpr int kCount = 1'000'000;
  SpscQueue<ParamEntry, 33> queue;
  std::vector<uint8_t> dropped(kCount, 0);   // written by the producer only
  std::vector<uint8_t> received(kCount, 0);  // written by the consumer only
  std::atomic<bool> producerDone{false};
  int droppedCount = 0;
  int receivedCount = 0;
  int orderFaults = 0;
  int tornEntries = 0;

  std::thread producer([&] {
    for (int i = 0; i < kCount; ++i) {
      if (!queue.Push({i, i * 0.5})) {
        dropped[i] = 1;
        ++droppedCount;
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

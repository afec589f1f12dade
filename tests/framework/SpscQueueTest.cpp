#include <gtest/gtest.h>

#include <cstring>

#include "framework/MidiMessage.h"
#include "framework/SpscQueue.h"

using namespace framework;

namespace {

struct ParamEntry {
  int32_t index;
  double value;
};

}  // namespace

TEST(SpscQueue, FullQueueKeepsTheFirstEntriesAndDropsTheRest) {
  SpscQueue<ParamEntry, 513> queue;
  EXPECT_EQ(queue.Capacity(), 513);
  ASSERT_EQ(queue.Usable(), 512);
  int accepted = 0;
  for (int i = 0; i < 600; ++i)
    if (queue.Push({i, i * 0.25})) ++accepted;
  EXPECT_EQ(accepted, 512);

  ParamEntry entry{};
  for (int i = 0; i < 512; ++i) {
    ASSERT_TRUE(queue.Pop(entry));
    EXPECT_EQ(entry.index, i);
    EXPECT_EQ(entry.value, i * 0.25);
  }
  entry = {-7, -7.0};
  EXPECT_FALSE(queue.Pop(entry));
  EXPECT_EQ(entry.index, -7);  // an empty pop yields nothing
}

TEST(SpscQueue, KeepsOrderAcrossTheWrapAndFillsAgainAfterIt) {
  SpscQueue<int, 4> queue;
  int next = 0;
  int expected = 0;
  // Two in, two out, many times round the four slots.
  for (int round = 0; round < 10; ++round) {
    ASSERT_TRUE(queue.Push(next++));
    ASSERT_TRUE(queue.Push(next++));
    for (int k = 0; k < 2; ++k) {
      int value = -1;
      ASSERT_TRUE(queue.Pop(value));
      EXPECT_EQ(value, expected++);
    }
  }
  // Indices now sit mid-ring: it still holds exactly three.
  EXPECT_TRUE(queue.Push(next++));
  EXPECT_TRUE(queue.Push(next++));
  EXPECT_TRUE(queue.Push(next++));
  EXPECT_FALSE(queue.Push(999));
  int value = -1;
  for (int k = 0; k < 3; ++k) {
    ASSERT_TRUE(queue.Pop(value));
    EXPECT_EQ(value, expected++);
  }
  EXPECT_FALSE(queue.Pop(value));
}

TEST(SpscQueue, CopiesLargeEntriesWhole) {
  SpscQueue<SysExRecord, 5> queue;
  ASSERT_EQ(queue.Usable(), 4);
  for (int i = 0; i < 5; ++i) {
    SysExRecord record;
    record.offset = i;
    record.size = SysExRecord::kCapacity;
    std::memset(record.data, 0x10 + i, sizeof record.data);
    EXPECT_EQ(queue.Push(record), i < 4);
  }
  for (int i = 0; i < 4; ++i) {
    SysExRecord record;
    ASSERT_TRUE(queue.Pop(record));
    EXPECT_EQ(record.offset, i);
    EXPECT_EQ(record.size, SysExRecord::kCapacity);
    EXPECT_EQ(record.data[0], 0x10 + i);
    EXPECT_EQ(record.data[SysExRecord::kCapacity - 1], 0x10 + i);
  }
}

#include <gtest/gtest.h>

#include "framework/MpscQueue.h"

TEST(MpscQueue, HoldsItsSizeInOrderAndDropsWhenFull) {
  framework::MpscQueue<int, 8> q;
  for (int round = 0; round < 3; ++round) {  // wraps around the cells
    for (int i = 0; i < 10; ++i) EXPECT_EQ(q.Push(i), i < 8) << i;
    int v = -1;
    for (int i = 0; i < 8; ++i) {
      ASSERT_TRUE(q.Pop(v));
      EXPECT_EQ(v, i);
    }
    EXPECT_FALSE(q.Pop(v));
    EXPECT_EQ(v, 7);
  }
}

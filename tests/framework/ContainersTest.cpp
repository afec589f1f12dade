#include <gtest/gtest.h>

#include "framework/HeapBuffer.h"
#include "framework/PtrList.h"
#include "framework/ShortText.h"

using namespace framework;

TEST(HeapBuffer, GrowthFollowsGranularityRules) {
  struct Case { int64_t size; int granularity; int64_t capacity; };
  const Case cases[] = {
      {100, 128, 228},            // small texts: size + max(size/2, 128)
      {1000, 128, 1500},
      {192000, 4096, 282528},     // extra 96000 -> 94208 pages, then page-rounded minus 96
      {10, 4096, 4000},           // extra clamps to one page
      {20000000, 4096, 24190880}, // extra capped at 4 MiB
  };
  for (const auto& c : cases)
    EXPECT_EQ(HeapBuffer::CapacityFor(c.size, c.granularity), c.capacity) << c.size << "/" << c.granularity;
}

TEST(HeapBuffer, ResizeKeepsBytesShrinksOnlyWhenAllowedAndFreesAtZero) {
  HeapBuffer b;
  ASSERT_NE(b.Resize(192000), nullptr);
  EXPECT_EQ(b.Capacity(), 282528);
  b.Data()[0] = 42;
  b.Resize(100, false);
  EXPECT_EQ(b.Capacity(), 282528);
  b.Resize(100);
  EXPECT_EQ(b.Capacity(), 100);
  EXPECT_EQ(b.Data()[0], 42);
  b.Resize(0);
  EXPECT_EQ(b.Data(), nullptr);
  EXPECT_EQ(b.Capacity(), 0);
  EXPECT_EQ(b.Resize(-1), nullptr);
}

TEST(HeapBuffer, FailedGrowthKeepsOldContents) {
  HeapBuffer b;
  b.Resize(16);
  b.Data()[3] = 7;
  EXPECT_EQ(b.Grow(INT32_MAX), nullptr);
  EXPECT_EQ(b.Size(), 16);
  EXPECT_EQ(b.Data()[3], 7);
}

TEST(PtrList, OutOfRangeReadsNullAndOwnedListDeletesLastToFirst) {
  static std::vector<int> deleted;
  struct Item { int id; ~Item() { deleted.push_back(id); } };
  {
    OwnedPtrList<Item> list;
    for (int i = 0; i < 3; ++i) list.Add(new Item{i});
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(3), nullptr);
    EXPECT_EQ(list.Get(1)->id, 1);
    list.Insert(0, new Item{9});
    EXPECT_EQ(list.Get(0)->id, 9);
    EXPECT_EQ(list.Find(list.Get(2)), 2);
  }
  EXPECT_EQ(deleted, (std::vector<int>{2, 1, 0, 9}));
}

TEST(ShortText, FormattedTextIsCutAtTheLimit) {
  ShortText t;
  EXPECT_STREQ(t.Get(), "");
  t.SetFormatted(5, "%s %d", "Input", 12);
  EXPECT_STREQ(t.Get(), "Input");
  t.SetFormatted(-1, "%.1f ms", 544.2177);
  EXPECT_STREQ(t.Get(), "544.2 ms");
  t.Set(nullptr);
  EXPECT_TRUE(t.Empty());
  char fixed[4];
  CopyText(fixed, sizeof fixed, "abcdef");
  EXPECT_STREQ(fixed, "abc");
}

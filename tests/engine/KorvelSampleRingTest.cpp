#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/KorvelSampleRing.h"

namespace {

std::vector<uint8_t> Bytes(int n, uint8_t first) {
  std::vector<uint8_t> v(n);
  std::iota(v.begin(), v.end(), first);
  return v;
}

std::vector<uint8_t> ReadAll(KorvelSampleRing& ring) {
  std::vector<uint8_t> out(ring.Available());
  EXPECT_EQ(ring.Read(out.data(), static_cast<int>(out.size())), static_cast<int>(out.size()));
  return out;
}

}  // namespace

TEST(KorvelSampleRing, WritesWrapAroundAndReadsComeBackInOrder) {
  KorvelSampleRing ring;
  ASSERT_TRUE(ring.SetCapacity(10));
  auto a = Bytes(7, 0);
  ring.Write(a.data(), 7);
  std::vector<uint8_t> first(4);
  EXPECT_EQ(ring.Read(first.data(), 4), 4);
  EXPECT_EQ(first, Bytes(4, 0));
  auto b = Bytes(6, 100);  // 3 bytes at the end, 3 at the start
  ring.Write(b.data(), 6);
  EXPECT_EQ(ring.WritePos(), 3);
  std::vector<uint8_t> expected = {4, 5, 6, 100, 101, 102, 103, 104, 105};
  EXPECT_EQ(ReadAll(ring), expected);
  EXPECT_EQ(ring.Available(), 0);
}

TEST(KorvelSampleRing, WriteDropsWhatDoesNotFitAndNullWritesZeros) {
  KorvelSampleRing ring;
  ring.SetCapacity(8);
  auto a = Bytes(12, 1);
  ring.Write(a.data(), 12);
  EXPECT_EQ(ring.Available(), 8);
  EXPECT_EQ(ReadAll(ring), Bytes(8, 1));
  ring.Write(nullptr, 3);
  EXPECT_EQ(ReadAll(ring), std::vector<uint8_t>(3, 0));
  ring.Write(a.data(), -5);
  EXPECT_EQ(ring.Available(), 0);
}

TEST(KorvelSampleRing, DropOldestKeepsTheNewestBytes) {
  KorvelSampleRing ring;
  ring.SetCapacity(8);
  auto a = Bytes(8, 0);
  ring.Write(a.data(), 8);
  EXPECT_TRUE(ring.DropOldest(3));
  auto b = Bytes(3, 50);
  ring.Write(b.data(), 3);
  EXPECT_EQ(ReadAll(ring), (std::vector<uint8_t>{3, 4, 5, 6, 7, 50, 51, 52}));
  ring.Write(a.data(), 2);
  EXPECT_TRUE(ring.DropOldest(99));  // clamped to the fill
  EXPECT_EQ(ring.Available(), 0);
}

TEST(KorvelSampleRing, DropWaitsForNoCopyWhileReadIsClaimed) {
  KorvelSampleRing ring;
  ring.SetCapacity(8);
  auto a = Bytes(8, 0);
  ring.Write(a.data(), 8);
  EXPECT_EQ(ring.BeginRead(), 8);
  EXPECT_FALSE(ring.DropOldest(4));  // the bytes being copied stay put
  std::vector<uint8_t> out(8);
  EXPECT_EQ(ring.FinishRead(out.data(), 8), 8);
  EXPECT_EQ(out, a);
  EXPECT_TRUE(ring.DropOldest(0));
}

TEST(KorvelSampleRing, WithoutStorageNothingIsWrittenOrRead) {
  KorvelSampleRing ring;
  auto a = Bytes(4, 0);
  ring.Write(a.data(), 4);
  EXPECT_FALSE(ring.DropOldest(2));
  uint8_t out[4] = {9, 9, 9, 9};
  EXPECT_EQ(ring.Read(out, 4), 0);
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(ring.Available(), 0);
}

TEST(KorvelSampleRing, ClearAndSetCapacityEmptyTheRing) {
  KorvelSampleRing ring;
  ring.SetCapacity(8);
  auto a = Bytes(5, 0);
  ring.Write(a.data(), 5);
  ring.Clear();
  EXPECT_EQ(ring.Available(), 0);
  EXPECT_EQ(ring.WritePos(), 0);
  ring.Write(a.data(), 5);
  ring.SetCapacity(8);
  EXPECT_EQ(ring.Available(), 0);
  EXPECT_EQ(ring.Capacity(), 8);
}

#include <gtest/gtest.h>

#include <cmath>

#include <cstring>

#include "KorvelHarness.h"
#include "RealtimeCounter.h"

namespace {

int RingSamples(const Korvel& k, int c) { return k.Channel(c)->ring.Available() / 4; }

std::vector<float> RingContents(Korvel& k, int c) {
  std::vector<float> v(RingSamples(k, c));
  k.Channel(c)->ring.Read(v.data(), static_cast<int>(v.size() * 4));
  return v;
}

}  // namespace

TEST(KorvelCapture, LayoutsPassAudioThroughBitExactAndFillTheRings) {
  struct Case {
    int inputs, outputs;
    int ringsWritten;  // rings 0 … ringsWritten−1 gain the block
  };
  const Case cases[] = {{1, 1, 1}, {2, 2, 2}, {4, 2, 4}, {4, 3, 4}, {3, 3, 3}, {4, 4, 4}, {2, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.inputs << " in, " << c.outputs << " out");
    KorvelHarness h;
    h.Connect(c.inputs, c.outputs);
    // Values with every mantissa bit in use: pass-through must not round them.
    h.Run(512, 0, [](int ch, long i) { return std::sin(0.001 * static_cast<double>(i) + ch) / 3.0; });
    for (int o = 0; o < c.outputs; ++o) {
      if (o < c.inputs)
        EXPECT_EQ(std::memcmp(h.out[o].data(), h.in[o].data(), 512 * sizeof(double)), 0) << "output " << o;
      else
        EXPECT_EQ(h.out[o], std::vector<double>(512, 0.0)) << "output " << o;
    }
    for (int r = 0; r < 4; ++r) EXPECT_EQ(RingSamples(*h.korvel, r), r < c.ringsWritten ? 512 : 0) << "ring " << r;
    EXPECT_EQ(h.korvel->pendingFrames.load(), 512);
    if (c.ringsWritten > 0) {
      auto ring0 = RingContents(*h.korvel, 0);
      EXPECT_EQ(ring0[100], static_cast<float>(h.in[0][100]));
    }
  }
}

TEST(KorvelCapture, ALongBlockIsCapturedByItsLast48000Frames) {
  KorvelHarness h;
  h.Connect(2, 2, 60000);
  h.Run(60000, 0, Counter);
  EXPECT_EQ(h.out[1][59999], h.in[1][59999]);
  auto ring = RingContents(*h.korvel, 0);
  ASSERT_EQ(ring.size(), 48000u);
  EXPECT_EQ(ring.front(), 12000.0f);
  EXPECT_EQ(ring.back(), 59999.0f);
  EXPECT_EQ(h.korvel->pendingFrames.load(), 48000);
}

TEST(KorvelCapture, AFullRingDropsItsOldestSamples) {
  KorvelHarness h;
  h.Connect(2, 2, 47900);
  h.Run(47900, 0, Counter);
  h.Run(512, 47900, Counter);
  auto ring = RingContents(*h.korvel, 1);
  ASSERT_EQ(ring.size(), 48000u);
  EXPECT_EQ(ring.front(), static_cast<float>(Counter(1, 412)));
  EXPECT_EQ(ring[48000 - 512], static_cast<float>(Counter(1, 47900)));
  EXPECT_EQ(ring.back(), static_cast<float>(Counter(1, 48411)));
}

TEST(KorvelCapture, PendingFramesSaturateAt48000) {
  KorvelHarness h;
  h.Connect(2, 2);
  h.korvel->pendingFrames = 47800;
  h.Run(512, 0, Counter);
  EXPECT_EQ(h.korvel->pendingFrames.load(), 48000);
}

TEST(KorvelCapture, DisabledChannelsAreCapturedToo) {
  KorvelHarness h;
  h.SetParam(KorvelParam::Input2, 0.0);
  ASSERT_FALSE(h.korvel->Channel(1)->enabled);
  h.Connect(2, 2);
  h.Run(256, 0, Counter);
  EXPECT_EQ(RingSamples(*h.korvel, 1), 256);
}

TEST(KorvelCapture, ResetEmptiesEveryCaptureState) {
  KorvelHarness h;
  h.Connect(4, 4);
  h.Run(512, 1, Counter);
  h.korvel->DrainSamples();
  h.Run(512, 1, Counter);
  ASSERT_NE(h.History(0).back(), 0.0f);
  h.korvel->ResetProcessing();
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(RingSamples(*h.korvel, c), 0);
    EXPECT_EQ(h.History(c), std::vector<float>(Korvel::kHistorySamples, 0.0f));
    EXPECT_EQ(h.korvel->Channel(c)->level, 0.0);
  }
  EXPECT_EQ(h.korvel->pendingFrames.load(), 0);
}

TEST(KorvelCapture, ResetTakesTheHostsRateAsTheDisplaysTimeBase) {
  // Milliseconds and hertz on the display are the signal's own only at the stream's rate.
  struct Case {
    double hostRate;
    double expected;
  };
  const Case cases[] = {{48000.0, 48000.0}, {96000.0, 96000.0}, {1.0, 96000.0}, {1e9, 96000.0},
                        {std::nan(""), 96000.0}, {44100.0, 44100.0}};
  KorvelHarness h;
  EXPECT_EQ(h.korvel->referenceRate.load(), kDefaultReferenceRate);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hostRate);
    h.korvel->StoreSampleRate(c.hostRate);
    h.korvel->displayDirty.store(0);
    h.korvel->ResetProcessing();
    EXPECT_EQ(h.korvel->referenceRate.load(), c.expected);
    EXPECT_EQ(h.korvel->displayDirty.load() != 0, c.hostRate == c.expected) << "the axes are rebuilt for a new rate";
  }
}

TEST(KorvelCapture, ProcessingAllocatesNothingAndTakesNoLock) {
  if (!testsupport::RealtimeCounterAvailable()) GTEST_SKIP() << "allocator interposition is off under sanitizers";
  KorvelHarness h;
  h.Connect(4, 4);
  std::vector<double*> ip, op;
  for (auto& v : h.in) ip.push_back(v.data());
  for (auto& v : h.out) op.push_back(v.data());
  testsupport::RealtimeScope scope;
  for (int block = 0; block < 200; ++block) {  // enough to fill the rings and start dropping
    h.korvel->BindHostBuffers(framework::Input, 0, 4, ip.data(), 512);
    h.korvel->BindHostBuffers(framework::Output, 0, 4, op.data(), 512);
    h.korvel->RunBlock(512);
  }
  EXPECT_EQ(scope.Allocations(), 0);
  EXPECT_EQ(scope.Locks(), 0);
}

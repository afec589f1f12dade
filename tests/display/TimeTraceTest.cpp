// The time view's window arithmetic and Hold.
#include "display/TimeTrace.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct WindowCase {
  double low, high;
  int delay;
  int start, n;
};

TEST(TimeWindow, FollowsZoomAndDelayAndStaysInTheHistory) {
  const WindowCase cases[] = {
      {0.5, 1.0, 0, 24000, 24000},        // default zoom
      {0.5, 1.0, 1000, 23000, 24000},     // the delay shifts towards older samples
      {0.2, 0.7, 22050, 0, 24000},        // the delay reaches past the oldest sample
      {0.999, 1.0, 0, 47952, 48},         // narrow window
      {0.9995, 1.0, 0, 47968, 32},        // at least 32 samples, ending where the window ends
      {0.0, 0.0001, 0, 0, 32},            // ... and never before the oldest
      {0.999, 1.001, 0, 47952, 48},       // an edge just past the end (the 0.001 gap) stays inside
      {-0.001, 0.0, 0, 0, 32},            // ... and just before the start
      {0.0, 1.0, 48000, 0, 48000},        // everything
  };
  for (const WindowCase& c : cases) {
    const TimeWindow w = ComputeTimeWindow(c.low, c.high, c.delay);
    EXPECT_EQ(w.start, c.start) << c.low << " " << c.high << " " << c.delay;
    EXPECT_EQ(w.n, c.n) << c.low << " " << c.high << " " << c.delay;
    EXPECT_LE(w.start + w.n, 48000);
  }
}

TEST(TimeWindow, DelayInSamplesAtTheReferenceRate) {
  EXPECT_EQ(DelaySamples(500.0, 44100.0), 22050);
  EXPECT_EQ(DelaySamples(0.1, 44100.0), 4);
  EXPECT_EQ(DelaySamples(-5.0, 44100.0), 0);
  EXPECT_EQ(DelaySamples(1.0e12, 44100.0), 48000);
}

TEST(Hold, CentresTheOldestLoudSampleOfTheWholeHistory) {
  std::vector<float> history(48000, 0.0f);
  history[30000] = 0.5f;
  history[33000] = -0.9f;
  EXPECT_EQ(HoldStart(history.data(), 24000, 0.1), 18000);
  // A negative sample counts by its size.
  history[30000] = 0.0f;
  EXPECT_EQ(HoldStart(history.data(), 24000, 0.1), 21000);
  // Quiet history, Hold off, or a window too wide to move: no change.
  EXPECT_EQ(HoldStart(history.data(), 24000, 0.95), -1);
  EXPECT_EQ(HoldStart(history.data(), 24000, -1.0), -1);
  EXPECT_EQ(HoldStart(history.data(), 48000, 0.1), -1);
  // A loud sample too near either end to be centred is not found.
  std::vector<float> edges(48000, 0.0f);
  edges[100] = edges[47990] = 1.0f;
  EXPECT_EQ(HoldStart(edges.data(), 1000, 0.5), -1);
}

}  // namespace

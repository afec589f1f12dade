#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "display/SpectrumMapper.h"

TEST(FrequencyRange, ZoomEdgesBecomeBinsAndFrequencies) {
  struct Case {
    double low, high;
    int n;
    int first, last;
    double lowHz, highHz;
  };
  const Case cases[] = {
      {0.0, 1.0, 4096, 2, 2044, 20.0, 22000.0},  // the DC bin is never shown
      {0.5, 0.5001, 4096, 513, 514, 513 * 44100.0 / 4096, 514 * 44100.0 / 4096},
      {0.0, 0.75, 4096, 2, 1151, 20.0, 0.5625 * 21980 + 20},
      {1.0, 1.0, 4096, 2044, 2045, 2044 * 44100.0 / 4096, 2045 * 44100.0 / 4096},
      {1.0, 1.0, 256, 127, 128, 127 * 44100.0 / 256, 128 * 44100.0 / 256},  // no bin above: step back
  };
  for (const Case& c : cases) {
    const FrequencyRange r = ComputeFrequencyRange(c.low, c.high, c.n, 44100.0);
    EXPECT_EQ(r.firstBin, c.first) << c.low << "-" << c.high;
    EXPECT_EQ(r.lastBin, c.last) << c.low << "-" << c.high;
    EXPECT_DOUBLE_EQ(r.lowHz, c.lowHz);
    EXPECT_DOUBLE_EQ(r.highHz, c.highHz);
  }
}

TEST(FrequencyRange, StaysBelowTheNyquistFrequencyAtEveryRate) {
  const double rates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000, 384000};
  const double zooms[][2] = {{0.0, 1.0}, {0.0, 0.75}, {0.9, 1.0}, {1.0, 1.0}};
  for (double rate : rates)
    for (const auto& zoom : zooms)
      for (int n : {256, 4096, 16384}) {
        SCOPED_TRACE(testing::Message() << rate << " Hz, zoom " << zoom[0] << "-" << zoom[1] << ", N " << n);
        const double top = std::min(22000.0, rate / 2);
        const FrequencyRange r = ComputeFrequencyRange(zoom[0], zoom[1], n, rate);
        EXPECT_GE(r.lowHz, 20.0);
        EXPECT_LE(r.highHz, zoom[0] == zoom[1] ? rate / 2 : top);  // an empty range widens to one bin
        EXPECT_GE(r.firstBin, 1);
        EXPECT_LT(r.firstBin, r.lastBin);
        EXPECT_LE(r.lastBin, n / 2);  // the analyser's spectrum ends below bin N/2
      }
  // The whole zoom range spans 20 Hz … the top frequency; at 44.1 kHz and above, 22 kHz.
  EXPECT_DOUBLE_EQ(ZoomFrequency(1.0, 32000.0), 16000.0);
  EXPECT_DOUBLE_EQ(ZoomFrequency(0.0, 32000.0), 20.0);
  EXPECT_DOUBLE_EQ(ZoomFrequency(1.0, 48000.0), 22000.0);
  EXPECT_DOUBLE_EQ(ZoomFrequency(0.5, 96000.0), 0.25 * 21980 + 20);
}

TEST(SpectrumMapper, TableFallsFromOneTowardsOneOverRootTwoM) {
  SpectrumMapper m;
  m.BuildTable(2048);
  ASSERT_EQ(m.Table().size(), 2048u);
  EXPECT_FLOAT_EQ(m.Table()[0], 1.0f);
  EXPECT_NEAR(m.Table()[2047], 1.0 / std::sqrt(4096.0) * std::pow(4096.0, 1.0 / 4096), 1e-6);
  for (size_t i = 1; i < m.Table().size(); ++i) ASSERT_LT(m.Table()[i], m.Table()[i - 1]);
}

TEST(SpectrumMapper, ARangeOfOneBinLiesFlat) {
  SpectrumMapper m;
  m.BuildTable(2048);
  std::vector<float> s(2048, 0.5f);
  const float* r = m.Map(s.data(), 100, 1, 64);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(r[i], 0.0f);
}

TEST(SpectrumMapper, DenseBinsGiveTheLargestPerColumn) {
  SpectrumMapper m;
  m.BuildTable(2048);
  std::vector<float> s(2048, 0.1f);
  s[2000] = 0.9f;
  const float* r = m.Map(s.data(), 1, 2042, 538);
  float largest = 0;
  int at = -1;
  for (int i = 0; i < 538; ++i)
    if (r[i] > largest) largest = r[i], at = i;
  EXPECT_FLOAT_EQ(largest, 0.9f);
  EXPECT_GT(at, 500);  // high bins crowd to the right
  for (int i = 0; i < 538; ++i) EXPECT_GE(r[i], 0.0f);
}

TEST(SpectrumMapper, AnIsolatedLowPeakBecomesASmoothHump) {
  SpectrumMapper m;
  m.BuildTable(128);
  std::vector<float> s(128, 0.0f);
  s[3] = 1.0f;
  const float* r = m.Map(s.data(), 1, 8, 400);  // few bins over many columns: all sparse
  // Around the peak the curve rises and falls through many distinct values, never a block.
  int distinct = 0, atPeak = 0;
  float previous = -1, top = 0;
  for (int i = 0; i < 400; ++i) {
    if (r[i] != previous) ++distinct;
    previous = r[i];
    if (r[i] > top) top = r[i], atPeak = i;
  }
  EXPECT_GT(distinct, 50);
  EXPECT_GT(top, 0.5f);
  EXPECT_LE(top, 1.0f);
  EXPECT_GT(atPeak, 0);
}

TEST(SpectrumMapper, BadRangesLeaveThePreviousResult) {
  SpectrumMapper m;
  m.BuildTable(64);
  std::vector<float> s(64, 0.3f);
  const float* before = m.Map(s.data(), 1, 60, 20);
  const float first = before[19];
  struct Case { int first, count, width; };
  for (Case c : {Case{1, 0, 20}, Case{1, 60, 0}, Case{-1, 5, 20}, Case{60, 10, 20}}) {
    const float* r = m.Map(s.data(), c.first, c.count, c.width);
    EXPECT_EQ(r[19], first);
  }
  EXPECT_EQ(m.Map(nullptr, 1, 5, 20)[19], first);
}

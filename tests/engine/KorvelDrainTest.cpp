#include <gtest/gtest.h>

#include <cmath>

#include "KorvelHarness.h"

namespace {

double Sine(int, long i) { return std::sin(2.0 * M_PI * 1000.0 * static_cast<double>(i) / 44100.0); }

}  // namespace

TEST(KorvelDrain, HistoryTakesTheNewestSamplesInOrder) {
  KorvelHarness h;
  h.Connect(2, 2);
  h.Run(512, 0, Counter);
  h.Run(512, 512, Counter);
  EXPECT_EQ(h.korvel->DrainSamples(), 1024);
  auto hist = h.History(1);
  EXPECT_EQ(hist[48000 - 1024], static_cast<float>(Counter(1, 0)));
  EXPECT_EQ(hist.back(), static_cast<float>(Counter(1, 1023)));
  EXPECT_EQ(hist[48000 - 1025], 0.0f);

  h.Run(100, 1024, Counter);
  EXPECT_EQ(h.korvel->DrainSamples(), 100);
  hist = h.History(0);
  EXPECT_EQ(hist[48000 - 1124], static_cast<float>(Counter(0, 0)));
  EXPECT_EQ(hist.back(), static_cast<float>(Counter(0, 1123)));
  EXPECT_EQ(h.korvel->DrainSamples(), 0);
}

TEST(KorvelDrain, AfterALongPauseTheHistoryHoldsTheNewest48000) {
  KorvelHarness h;
  h.Connect(2, 2);
  for (long block = 0; block < 200; ++block) h.Run(512, block * 512, Counter);
  EXPECT_EQ(h.korvel->DrainSamples(), 48000);
  auto hist = h.History(0);
  EXPECT_EQ(hist.front(), static_cast<float>(Counter(0, 200 * 512 - 48000)));
  EXPECT_EQ(hist.back(), static_cast<float>(Counter(0, 200 * 512 - 1)));
}

TEST(KorvelDrain, DisabledChannelsAreNotDrained) {
  KorvelHarness h;
  h.Connect(4, 4);
  h.Run(512, 0, Counter);
  h.korvel->DrainSamples();
  EXPECT_EQ(h.korvel->Channel(2)->ring.Available(), 512 * 4);  // off by default
  EXPECT_EQ(h.korvel->Channel(0)->ring.Available(), 0);
}

TEST(KorvelDrain, LevelIsTheRmsOfTheNewestFftSizeSamples) {
  struct Case {
    const char* signal;
    double (*f)(int, long);
    double level;
    const char* text;
  };
  const Case cases[] = {
      {"square", [](int, long i) { return (i / 50) % 2 ? 1.0 : -1.0; }, 1.0, "0.0"},
      {"sine", Sine, std::sqrt(0.5), "-3.0"},
      {"silence", [](int, long) { return 0.0; }, 0.0, "-oo"},
      {"tiny", [](int, long) { return 0.00005; }, 0.00005, "-oo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signal);
    KorvelHarness h;
    h.Connect(2, 2, 8192);
    h.Run(8192, 0, c.f);
    h.korvel->DrainSamples();
    EXPECT_NEAR(h.korvel->Channel(0)->level, c.level, 1e-3);
    framework::ShortText text;
    Korvel::FormatLevel(h.korvel->Channel(0)->level, text);
    EXPECT_STREQ(text.Get(), c.text);
  }
}

TEST(KorvelDrain, SpectraRunOnlyInTheFreqDomainAndHonourTheDelay) {
  KorvelHarness h;
  h.Connect(2, 2, 8192);
  h.SetParam(KorvelParam::BlendSpeed, 1.0);
  // A bin-centred full-scale sine on channel 0, silence on channel 1 for the newest half.
  const double bin = 100.0 * 44100.0 / 4096.0;
  h.Run(8192, 0, [&](int c, long i) {
    if (c == 1 && i >= 4096) return 0.0;
    return std::sin(2.0 * M_PI * bin * static_cast<double>(i) / 44100.0);
  });
  h.korvel->DrainSamples();
  EXPECT_EQ(h.korvel->Channel(0)->analyser.Spectrum()[100], 0.0f);  // Time domain: no analysis

  h.SetParam(KorvelParam::Domain, 1);
  h.SetParam(KorvelParam::Delay2, 4096.0 / 44.1);  // look back past the silence
  h.korvel->DrainSamples();
  EXPECT_NEAR(h.korvel->Channel(0)->analyser.Spectrum()[100], 0.42, 0.01);
  EXPECT_NEAR(h.korvel->Channel(1)->analyser.Spectrum()[100], 0.42, 0.02);
}

TEST(KorvelDrain, PendingFftSizeAndBlendReachEveryAnalyser) {
  KorvelHarness h;
  Korvel& k = *h.korvel;
  h.SetParam(KorvelParam::FftSize, 6);
  h.SetParam(KorvelParam::BlendSpeed, 0.2);
  EXPECT_EQ(k.ActiveFftSize(), 4096);
  k.displayDirty = 0;
  k.ApplyPendingSettings();
  EXPECT_EQ(k.ActiveFftSize(), 16384);
  EXPECT_EQ(k.fftSizeChanged.load(), 0);
  EXPECT_EQ(k.displayDirty.load(), 0);  // raised by the new size, then applied
  EXPECT_DOUBLE_EQ(k.ActiveBlend(), 0.5);  // the blend waits for the drain
  for (int c = 0; c < 4; ++c) EXPECT_EQ(k.Channel(c)->analyser.Size(), 16384);
  k.DrainSamples();
  EXPECT_EQ(k.blendChanged.load(), 0);
  EXPECT_DOUBLE_EQ(k.ActiveBlend(), 0.2);
  for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(k.Channel(c)->analyser.Blend(), 0.2f);
}

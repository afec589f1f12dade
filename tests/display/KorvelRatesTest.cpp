// The editor at every host rate a user may run: hertz and milliseconds on the display are the
// stream's own, and the frequency view stays below the Nyquist frequency.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "display/CaptionGridControl.h"
#include "display/TipControl.h"
#include "graphics/ITextControls.h"
#include "tests/display/EditorHarness.h"

namespace {

constexpr double kRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000};
constexpr float kL = 80, kT = 56, kR = 618, kB = 362;
constexpr float kCentre = (kT + kB) * 0.5f;

// One editor with only the first input shown, streaming at `rate`.
struct RateEditor : EditorHarness {
  explicit RateEditor(double rate) {
    korvel->StoreSampleRate(rate);
    korvel->ResetProcessing();
    for (KorvelParam p : {KorvelParam::Input2, KorvelParam::Input3, KorvelParam::Input4}) SetParam(p, 0.0);
    SetParam(KorvelParam::Opacity, 1.0);  // the pale trace at full brightness, unlike the grid
  }
  // A pixel of the first input's pale trace: far brighter than the grey grid and text.
  bool IsTrace(float x, float y) const { return Brightness(x, y) > 200; }
  // Anything drawn over the black plot, where no grid line runs.
  bool IsLit(float x, float y) const { return Brightness(x, y) > 64; }
  uint32_t Brightness(float x, float y) const {
    const uint32_t p = PixelAt(x, y);
    return std::max({p >> 16 & 0xff, p >> 8 & 0xff, p & 0xff});
  }
};

std::string Format(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

class EditorAtRate : public testing::TestWithParam<double> {};

TEST_P(EditorAtRate, ASineIsDrawnAtItsFrequencyAndTheTipReadsIt) {
  const double rate = GetParam();
  const double top = std::min(22000.0, rate / 2);
  const double hz = 0.3 * top;
  RateEditor h(rate);
  h.SetParam(KorvelParam::Domain, 1);
  h.SetParam(KorvelParam::FftSize, 6);  // 16384
  h.SetParam(KorvelParam::XZoomLow, 0.0);
  h.SetParam(KorvelParam::XZoomHigh, 1.0);
  ASSERT_NE(h.Open(), nullptr);
  for (int i = 0; i < 3; ++i) {
    h.Feed(16384, [&](int, long n) { return 0.5 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(n) / rate); });
    h.Tick();
  }
  const auto* axis = h.Control<CaptionGridControl>(KorvelControl::TimeAxis);
  EXPECT_STREQ(axis->MinText(), "20");
  EXPECT_EQ(axis->MaxText(), Format("%.1fk", static_cast<int>(top) / 1000.0));

  // The peak: the column whose trace reaches highest.
  int peakX = -1;
  float peakTop = kB;
  for (int x = static_cast<int>(kL) + 2; x < static_cast<int>(kR) - 2; ++x)
    for (float y = kT + 1; y < peakTop; ++y)
      if (h.IsTrace(static_cast<float>(x), y)) {
        peakTop = y;
        peakX = x;
        break;
      }
  ASSERT_GE(peakX, 0) << "no spectrum drawn";
  EXPECT_LT(peakTop, kCentre) << "the peak is drawn low";
  EXPECT_LE(h.Graph()->FrequencyAt(static_cast<float>(peakX - 3)), hz);
  EXPECT_GE(h.Graph()->FrequencyAt(static_cast<float>(peakX + 3)), hz);

  h.Move(static_cast<float>(peakX), 200);
  h.Tick();
  const TipControl* tip = nullptr;
  for (int i = 0; i < h.gui->NControls() && !tip; ++i) tip = dynamic_cast<const TipControl*>(h.gui->GetControl(i));
  ASSERT_NE(tip, nullptr);
  EXPECT_NEAR(tip->Frequency(), hz, std::max(0.03 * hz, 2 * rate / 16384));

  // The double-click reset lands inside the range too.
  h.DoubleClick(300, 200);
  h.Tick();
  EXPECT_LE(h.Graph()->HighHz(), top);
  EXPECT_GE(h.Graph()->LowHz(), 20.0);
}

TEST_P(EditorAtRate, TimeAxisSpanAndDelayAreMillisecondsOfTheRate) {
  const double rate = GetParam();
  RateEditor h(rate);
  // A window of about 40 ms (as the parameter's steps allow), so that 10 ms spans many columns.
  h.SetParam(KorvelParam::XZoomLow, 1.0 - 0.04 * rate / Korvel::kHistorySamples);
  h.SetParam(KorvelParam::XZoomHigh, 1.0);
  ASSERT_NE(h.Open(), nullptr);
  h.Tick();
  const double span = h.Graph()->CurrentZoom().xZoomHigh - h.Graph()->CurrentZoom().xZoomLow;
  const double samplesPerColumn = span * Korvel::kHistorySamples / (kR - kL);
  const auto* axis = h.Control<CaptionGridControl>(KorvelControl::TimeAxis);
  EXPECT_EQ(axis->MinText(), Format("%.0f", -span * Korvel::kHistorySamples / rate * 1000.0));
  EXPECT_STREQ(axis->MaxText(), "0 ms");
  EXPECT_EQ(h.Control<graphics::ITextControl>(KorvelControl::SpanReadout)->GetString(),
            Format("%.1f ms", span * Korvel::kHistorySamples / rate * 1000.0));

  // A step 20 ms before the newest sample: the first column where the trace stands at the
  // high level (0.8, clear of the level grid) and nothing runs through the centre (neither a
  // time grid line nor the step itself).
  const auto stepColumn = [&](double delayMs) {
    h.SetParam(KorvelParam::Delay1, delayMs);
    const long stepAt = h.frame + 48000 - static_cast<long>(0.02 * rate);
    h.Feed(48000, [&](int, long n) { return n >= stepAt ? 0.8 : -0.8; });
    h.Tick();
    h.Tick();
    const float high = std::round(kCentre - 0.8f * (kB - kT) * 0.5f / 1.0005f);
    for (int x = static_cast<int>(kL) + 1; x < static_cast<int>(kR) - 1; ++x)
      for (float y = high - 2; y <= high + 2; ++y)
        if (h.IsLit(static_cast<float>(x), y) && !h.IsLit(static_cast<float>(x), kCentre)) return x;
    return -1;
  };
  const int undelayed = stepColumn(0.0);
  const int delayed = stepColumn(10.0);
  ASSERT_GE(undelayed, 0);
  ASSERT_GE(delayed, 0);
  EXPECT_NEAR(delayed - undelayed, 0.01 * rate / samplesPerColumn, 3.0);
}

INSTANTIATE_TEST_SUITE_P(HostRates, EditorAtRate, testing::ValuesIn(kRates),
                         [](const testing::TestParamInfo<double>& p) {
                           return std::to_string(static_cast<int>(p.param)) + "Hz";
                         });

}  // namespace

#include <gtest/gtest.h>

#include <cmath>

#include "engine/ScopeMath.h"

// Each setting's meaning at its ends and a point between, as the user sees it on the axes.
TEST(ScopeMath, SettingsMeanWhatTheAxesShow) {
  struct Case {
    const char* what;
    double got;
    double expected;
  };
  const Case cases[] = {
      {"Y Zoom 0 shows ±2", LevelRange(0.0), 2.0},
      {"Y Zoom 1 shows ±0.001", LevelRange(1.0), 0.001},
      {"Y Zoom 0.5 lies halfway", LevelRange(0.5), 1.0005},
      {"the spectrum's level axis at Y Zoom 0", SpectrumLevelRange(0.0), 1.0005},
      {"the spectrum's level axis at Y Zoom 1", SpectrumLevelRange(1.0), 0.001},
      {"X Zoom 0 at 44.1 kHz", ZoomFrequency(0.0, 44100.0), 20.0},
      {"X Zoom 1 at 44.1 kHz", ZoomFrequency(1.0, 44100.0), 22000.0},
      {"X Zoom 0.5 at 48 kHz", ZoomFrequency(0.5, 48000.0), 0.25 * 21980.0 + 20.0},
      {"X Zoom 1 at 32 kHz stops at Nyquist", ZoomFrequency(1.0, 32000.0), 16000.0},
      {"X Zoom 1 at 8 kHz stops at Nyquist", ZoomFrequency(1.0, 8000.0), 4000.0},
      {"no rate yet: 22 kHz", TopFrequency(0.0), 22000.0},
      {"a rate that is not a number: 22 kHz", TopFrequency(std::nan("")), 22000.0},
      {"Hold 0 is −30 dB", HoldDb(0.0), -30.0},
      {"Hold 1 is +3 dB", HoldDb(1.0), 3.0},
      {"0 dB is Hold 30/33", HoldNormalised(0.0), 30.0 / 33.0},
      {"below −30 dB clamps to 0", HoldNormalised(-90.0), 0.0},
      {"above +3 dB clamps to 1", HoldNormalised(12.0), 1.0},
      {"Hold at +3 dB is off", HoldLevel(3.0), -1.0},
      {"Hold at −20 dB waits for 0.1", HoldLevel(-20.0), 0.1},
      {"Hold at −6 dB waits for about half", HoldLevel(-6.0), std::pow(10.0, -0.3)},
      {"full opacity draws at 216 of 255", double(OpacityAlpha(1.0)), 216},
      {"three quarters", double(OpacityAlpha(0.75)), 162},
      {"none", double(OpacityAlpha(0.0)), 0},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.got, c.expected, 1e-12 * std::fabs(c.expected)) << c.what;
}

// A Hold value survives the trip through dB, so that a dragged handle stores what it shows.
TEST(ScopeMath, HoldRoundTripsThroughDecibels) {
  for (double v = 0.0; v <= 1.0; v += 1.0 / 64.0) EXPECT_NEAR(HoldNormalised(HoldDb(v)), v, 1e-15);
}

#include <gtest/gtest.h>

#include "graphics/platform/win/WinDisplay.h"

namespace graphics::win {
namespace {

TEST(WinDisplay, TimerPeriodForFrameRate) {
  struct Case {
    int fps, ms;
  } cases[] = {{60, 15}, {50, 20}, {30, 33}, {120, 15}, {1, 1000}, {0, 1000}, {-5, 1000}};
  for (const Case& c : cases) EXPECT_EQ(TimerPeriodMs(c.fps), c.ms) << c.fps;
}

TEST(WinDisplay, ScreenScaleOfDpi) {
  EXPECT_EQ(ScreenScaleOfDpi(96), 1.0f);
  EXPECT_EQ(ScreenScaleOfDpi(144), 1.5f);
  EXPECT_EQ(ScreenScaleOfDpi(192), 2.0f);
  EXPECT_EQ(ScreenScaleOfDpi(0), 1.0f);
}

TEST(WinDisplay, TimerTicksAlwaysRun) {
  WinTickGate gate(false);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(gate.Accept(0, 0));
  gate.Painted(0, 0);
  EXPECT_TRUE(gate.Accept(0, 0));
}

TEST(WinDisplay, VerticalBlankTicksDropStaleCountsAndSkipAfterAnOverrun) {
  WinTickGate gate(true);
  EXPECT_TRUE(gate.Accept(5, 5));
  EXPECT_FALSE(gate.Accept(3, 5)) << "queued behind a slow frame";
  // A paint during which the thread counted from 5 to 6: the blank after 6 is skipped too.
  gate.Painted(5, 6);
  EXPECT_FALSE(gate.Accept(6, 6));
  EXPECT_TRUE(gate.Accept(7, 7));
  gate.Painted(7, 7);
  EXPECT_TRUE(gate.Accept(8, 8));
}

TEST(WinDisplay, WindowSizes) {
  struct Case {
    float draw, screen;
    int openW, openH, resizedW, resizedH;
  } cases[] = {
      {1.0f, 1.0f, 724, 526, 724, 526},
      // 144 DPI: opened at the whole scale 1; the first tick resizes to 1.5.
      {1.0f, 1.5f, 724, 526, 1086, 789},
      {1.0f, 2.0f, 1448, 1052, 1448, 1052},
      {1.25f, 1.0f, 905, 657, 905, 657},
      // Under 96 DPI the whole part would be 0: the window opens at scale 1 instead.
      {1.0f, 0.75f, 724, 526, 543, 394},
  };
  for (const Case& c : cases) {
    const WinPixelSize open = OpeningPixelSize(724, 526, c.draw, c.screen);
    const WinPixelSize resized = ResizedPixelSize(724, 526, c.draw, c.screen);
    EXPECT_EQ(open.width, c.openW) << c.draw << " " << c.screen;
    EXPECT_EQ(open.height, c.openH) << c.draw << " " << c.screen;
    EXPECT_EQ(resized.width, c.resizedW) << c.draw << " " << c.screen;
    EXPECT_EQ(resized.height, c.resizedH) << c.draw << " " << c.screen;
  }
}

TEST(WinDisplay, DirtyRegionsCoverWholePixels) {
  const IRect pixels = DevicePixelsOut({10.2f, 3.3f, 20.1f, 7.9f}, 1.5f);
  EXPECT_EQ(pixels, (IRect{15.0f, 4.0f, 31.0f, 12.0f}));
  const IRect units = UnitsOfPixels(pixels, 1.5f);
  EXPECT_LE(units.L, 10.2f);
  EXPECT_GE(units.R, 20.1f);
  EXPECT_EQ(UnitsOfPixels({2, 4, 6, 8}, 0.0f), (IRect{2, 4, 6, 8})) << "an unusable scale reads as 1";
}

}  // namespace
}  // namespace graphics::win

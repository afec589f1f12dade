// The scope's smaller controls on their own: Hold handle, zoom bars, frequency tip.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "display/KorvelOneSidedScrollBar.h"
#include "display/KorvelScrollBar.h"
#include "display/TipControl.h"
#include "display/TriggerControl.h"
#include "tests/display/RecordingGui.h"
#include "tests/engine/KorvelHarness.h"

namespace {

graphics::IBitmapRef Handle(int size) {
  graphics::IBitmapRef ref;
  ref.width = ref.height = size;
  return ref;
}

class ControlTest : public testing::Test {
protected:
  KorvelHarness h;
  RecordingGui g{*h.korvel};

  template <class T>
  T& Attach(T& control) {
    control.SetDelegate(h.korvel.get());
    return control;
  }
  double Param(KorvelParam p) const { return h.korvel->GetParam(ParamIdx(p))->Current(); }
};

// ---- Hold handle ------------------------------------------------------------------------------

class HoldHandleTest : public ControlTest {
protected:
  TriggerControl hold{{80, 49, 679, 369}, ParamIdx(KorvelParam::Hold), Handle(15)};
  float cy = (49.0f + 369.0f) * 0.5f;

  void SetUp() override {
    Attach(hold);
    hold.Draw(g);  // takes the level scale for Korvel's Y Zoom
  }
};

TEST_F(HoldHandleTest, LevelScaleFollowsTheYZoom) {
  EXPECT_NEAR(hold.LevelScale(), 160.0f / 1.0005f, 0.001f);
  h.SetParam(KorvelParam::YZoom, 1.0);
  hold.Draw(g);
  EXPECT_NEAR(hold.LevelScale(), 160000.0f, 0.1f);
}

TEST_F(HoldHandleTest, PointerDistanceFromTheCentreSetsTheLevel) {
  struct Case {
    float distance;
    double value;
  };
  const Case cases[] = {{16.0f, 0.3030}, {0.0f, 0.0}, {16.9f, 0.3030}, {226.0f, 1.0}, {1.0e9f, 1.0}};
  for (const Case& c : cases) {
    hold.SetFromY(cy - c.distance);
    EXPECT_NEAR(hold.GetValue(), c.value, 0.0005) << c.distance;
    EXPECT_NEAR(h.korvel->GetParam(ParamIdx(KorvelParam::Hold))->CurrentNormalised(), c.value, 0.0005);
  }
  hold.SetFromY(std::nanf(""));
  EXPECT_DOUBLE_EQ(hold.GetValue(), 1.0);
}

TEST_F(HoldHandleTest, RightButtonLeavesTheValueAlone) {
  hold.SetValue(0.5);
  graphics::IMouseModifiers right;
  right.R = true;
  hold.OnMouseDown(670, cy, right);
  EXPECT_DOUBLE_EQ(hold.GetValue(), 0.5);
}

TEST_F(HoldHandleTest, CatchesTheMouseOnlyOnTheRail) {
  EXPECT_TRUE(hold.HitTest(670, cy));
  EXPECT_FALSE(hold.HitTest(300, cy));
  EXPECT_FALSE(hold.HitTest(670, 52));
  EXPECT_FALSE(hold.HitTest(679, cy));
}

TEST_F(HoldHandleTest, DrawsThresholdLinesOnlyWhileHoldIsOn) {
  hold.SetValue(1.0);
  g.Clear();
  hold.Draw(g);
  EXPECT_EQ(g.lines.size(), 1u);  // the rail alone
  hold.SetValue(30.0 / 33.0);     // 0 dB: limited to the rail
  g.Clear();
  hold.Draw(g);
  ASSERT_EQ(g.lines.size(), 4u);
  EXPECT_FLOAT_EQ(g.lines[1].y1, cy + 160.0f - 7.5f);
  EXPECT_FLOAT_EQ(g.lines[2].y1, cy - 160.0f + 7.5f);
}

TEST(HoldHandleText, ShowsOffOrDecibels) {
  char text[32];
  TriggerControl::FormatValue(1.0, text, sizeof text);
  EXPECT_STREQ(text, "off");
  TriggerControl::FormatValue(0.0, text, sizeof text);
  EXPECT_STREQ(text, "-30.0 dB");
  TriggerControl::FormatValue(31.0 / 33.0, text, sizeof text);
  EXPECT_STREQ(text, "+1.0 dB");
}

// ---- Zoom bars ----------------------------------------------------------------------------------

class ZoomBarTest : public ControlTest {
protected:
  KorvelScrollBar bar{{82, 378, 618, 398}, ParamIdx(KorvelParam::XZoomLow), ParamIdx(KorvelParam::XZoomHigh), Handle(16)};
  graphics::IMouseModifiers mods;
  float track = (618.0f - 8.0f) - (82.0f + 8.0f);

  void SetUp() override { Attach(bar); }
  void Set(double lo, double hi) {
    bar.SetValue(lo, 0);
    bar.SetValue(hi, 1);
  }
  float X(double v) const { return 90.0f + static_cast<float>(v) * track; }
};

TEST_F(ZoomBarTest, CrossedOrTouchingHandlesArePulledApart) {
  struct Case {
    double lo, hi, wantLo, wantHi;
  };
  // At either end the pair stays inside 0 … 1 (found by fuzzing: 0 and 0 gave −0.001).
  const Case cases[] = {{0.3, 0.2, 0.199, 0.301}, {0.5, 0.5005, 0.4995, 0.501}, {0.2, 0.6, 0.2, 0.6},
                        {0.0, 0.0, 0.0, 0.001},   {1.0, 1.0, 0.999, 1.0}};
  for (const Case& c : cases) {
    Set(c.lo, c.hi);
    bar.EnsureOrder();
    EXPECT_NEAR(bar.GetValue(0), c.wantLo, 1e-12);
    EXPECT_NEAR(bar.GetValue(1), c.wantHi, 1e-12);
  }
}

TEST_F(ZoomBarTest, OverlappingHandlesCanAlwaysBePulledApart) {
  Set(0.2, 0.2001);
  bar.OnMouseDown(X(0.2), 388, mods);
  EXPECT_EQ(bar.CurrentDragMode(), KorvelScrollBar::HighHandle);
  EXPECT_NEAR(bar.GetValue(0), 0.1991, 1e-9);
  Set(0.8, 0.8001);
  bar.OnMouseDown(X(0.8), 388, mods);
  EXPECT_EQ(bar.CurrentDragMode(), KorvelScrollBar::LowHandle);
  bar.OnMouseDown(X(0.5), 388, mods);
  EXPECT_EQ(bar.CurrentDragMode(), KorvelScrollBar::Range);
}

TEST_F(ZoomBarTest, DraggingTheRangeKeepsItsWidthAndStopsAtTheEnd) {
  Set(0.1, 0.6);
  bar.OnMouseDown(X(0.35), 388, mods);
  bar.OnMouseDrag(X(0.05), 388, -0.3f * track, 0, mods);
  EXPECT_NEAR(bar.GetValue(0), 0.0, 1e-9);
  EXPECT_NEAR(bar.GetValue(1), 0.5, 1e-9);
  EXPECT_NEAR(Param(KorvelParam::XZoomLow), 0.0, 1e-9);
  EXPECT_NEAR(Param(KorvelParam::XZoomHigh), 0.5, 1e-9);
  bar.OnMouseUp(0, 0, mods);
  EXPECT_EQ(bar.CurrentDragMode(), KorvelScrollBar::None);
}

TEST_F(ZoomBarTest, DraggingAHandleMovesOneEdge) {
  Set(0.5, 1.0);
  bar.OnMouseDown(X(1.0), 388, mods);
  bar.OnMouseDrag(X(0.75), 388, -10, 0, mods);
  EXPECT_NEAR(bar.GetValue(1), 0.75, 1e-6);
  bar.OnMouseDrag(-1.0e9f, 388, -10, 0, mods);  // past the other handle: they swap
  EXPECT_LT(bar.GetValue(0), bar.GetValue(1));
}

TEST_F(ZoomBarTest, WheelNarrowsOrWidensAndDoubleClickResets) {
  Set(0.5, 1.0);
  bar.OnMouseWheel(X(0.75), 388, mods, 1.0f);
  EXPECT_NEAR(bar.GetValue(0), 0.51, 1e-12);
  EXPECT_NEAR(bar.GetValue(1), 0.99, 1e-12);
  bar.OnMouseWheel(X(0.51), 388, mods, -2.0f);  // over the low handle: only that edge
  EXPECT_NEAR(bar.GetValue(0), 0.49, 1e-12);
  EXPECT_NEAR(bar.GetValue(1), 0.99, 1e-12);
  bar.OnMouseDoubleClick(0, 0, mods);
  EXPECT_DOUBLE_EQ(bar.GetValue(0), 0.5);
  EXPECT_DOUBLE_EQ(bar.GetValue(1), 1.0);
  EXPECT_DOUBLE_EQ(Param(KorvelParam::XZoomLow), 0.5);
}

TEST_F(ControlTest, VerticalBarJumpsToThePressAndStepsWithTheWheel) {
  KorvelOneSidedScrollBar bar{{52, 56, 72, 362}, ParamIdx(KorvelParam::YZoom), Handle(16)};
  Attach(bar);
  graphics::IMouseModifiers mods;
  bar.OnMouseDown(62, 56, mods);
  EXPECT_DOUBLE_EQ(bar.GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(Param(KorvelParam::YZoom), 1.0);
  bar.OnMouseDown(62, 362, mods);
  EXPECT_DOUBLE_EQ(bar.GetValue(), 0.0);
  bar.OnMouseDrag(62, (64.0f + 354.0f) * 0.5f, 0, 1, mods);
  EXPECT_NEAR(bar.GetValue(), 0.5, 1e-9);
  bar.OnMouseWheel(62, 200, mods, 2.0f);
  EXPECT_NEAR(bar.GetValue(), 0.52, 1e-9);
  bar.OnMouseWheel(62, 200, mods, 1000.0f);
  EXPECT_DOUBLE_EQ(bar.GetValue(), 1.0);
  bar.OnMouseDoubleClick(62, 200, mods);
  EXPECT_DOUBLE_EQ(bar.GetValue(), 0.5);
}

// ---- Frequency tip ------------------------------------------------------------------------------

TEST(FrequencyTip, TextByRange) {
  struct Case {
    double f;
    const char* text;
  };
  const Case cases[] = {{99.94, "99.9 Hz"}, {100.0, "100 Hz"}, {999.4, "999 Hz"}, {1234.5, "1.23 kHz"}, {22000.0, "22.00 kHz"}};
  for (const Case& c : cases) {
    char text[32];
    TipControl::FormatFrequency(c.f, text, sizeof text);
    EXPECT_STREQ(text, c.text);
  }
}

TEST_F(ControlTest, TipBoxOpensTowardsTheMiddleAndHidesOutsideTheAxis) {
  TipControl tip({80, 56, 618, 362});
  tip.Show(500, 200, 1000.0);
  EXPECT_EQ(tip.Box(), (graphics::IRect{400, 186, 500, 200}));
  tip.Show(100, 200, 1000.0);
  EXPECT_EQ(tip.Box(), (graphics::IRect{100, 186, 200, 200}));
  tip.Draw(g);
  EXPECT_EQ(g.rects.size(), 1u);
  for (double f : {20.0, 22000.5, std::nan("")}) {
    g.Clear();
    tip.Show(100, 200, f);
    tip.Draw(g);
    EXPECT_TRUE(g.rects.empty()) << f;
  }
  g.Clear();
  tip.Show(-1, -1, 0.0);
  tip.Draw(g);
  EXPECT_TRUE(g.rects.empty());
}

}  // namespace
